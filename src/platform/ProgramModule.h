#pragma once

#include <QLibrary>
#include <QString>

namespace ondavia {

// A shared library of the program's own, beside the executable, loaded when it is first needed: what a
// launch does not use (the network, the reader of existing PDF files) stays out of the process until then.
// Loaded once, it stays for the rest of the run.
class ProgramModule {
public:
    // `fileName` is looked for in the executable's folder (none before the application object exists);
    // `purpose` completes "serve ..." in the messages ("per scaricare i file").
    ProgramModule(const QString& fileName, QString purpose);
    // The same, looked for in `folder`.
    ProgramModule(const QString& folder, const QString& fileName, QString purpose);

    // The function the module exports under `symbol`, loading the module at the first call. nullptr when the
    // file is missing, cannot be loaded or is not the module expected, with a message for the operator that
    // names the file in `error`.
    QFunctionPointer resolve(const char* symbol, QString* error);

private:
    QString m_path;
    QString m_purpose;
    QLibrary m_library;
};

} // namespace ondavia
