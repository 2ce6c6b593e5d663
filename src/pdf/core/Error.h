#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace folian {

// Error numbers carried by Error; the numbering follows the run-time error codes the
// writer's callers already know from the application's other error messages.
namespace ErrorCode {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t LoadingLibrary = 48;
inline constexpr int32_t BadFileNameOrNumber = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t DeviceIo = 57;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t InvalidFileFormat = 321;
} // namespace ErrorCode

// The failure that Folian's operations raise to their caller. The number is one of ErrorCode.
class Error : public std::runtime_error {
public:
    Error(int32_t number, const std::string& description);

    int32_t number() const noexcept { return m_number; }

private:
    int32_t m_number;
};

} // namespace folian
