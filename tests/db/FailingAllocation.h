#pragma once

struct sqlite3;

namespace ondavia::test {

// The program that links FailingAllocation.cpp allocates through it: one chosen allocation can be made to
// fail with std::bad_alloc, as when memory runs out, to drive code along its exception paths.

// Makes the allocation `index` from now on fail (0 the next one); the ones after it succeed again.
// -1 lets every allocation succeed.
void failAllocation(long index);
// Whether the allocation chosen last has failed.
bool allocationFailed();
// The connection whose prepared statements allocationFailedWithStatement() looks at.
void watchConnection(sqlite3* db);
// Whether the allocation chosen last failed while the watched connection had a statement prepared.
bool allocationFailedWithStatement();

} // namespace ondavia::test
