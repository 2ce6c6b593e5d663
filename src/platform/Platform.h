#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ondavia {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
// The answers keep the numbers the register's callers were written against.
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    QString title; // empty: the program's name
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    int defaultButton = 1; // 1-based, in the order the buttons are listed in MsgButtons

    // The answer of the default button (what Enter gives).
    MsgResult defaultAnswer() const;
};

struct FileRequest {
    QString title;
    QString initialFolder;
    QString fileName; // proposed name, bare or a full path
    QString filter;   // pairs "description|pattern", themselves joined by "|"
};

struct MailRequest {
    QString to; // one address, or several separated by commas
    QString subject;
    QString body;
};

// The mailto: address of a message: the recipients, then the subject and body as query items, every
// character outside letters, digits and "-._~" percent-encoded as UTF-8 (a blank is "%20", never "+"),
// so mail programs read back exactly what was asked. Commas between recipients and "@" stay as they are.
QByteArray mailtoAddress(const MailRequest& mail);

struct DownloadRequest {
    QString address;    // https only
    QString targetFile; // written only when the whole file has arrived and passed its checks
    qint64 maxBytes = 0;
    QString sha256; // expected digest in hexadecimal; empty: not checked
    bool executable = false;
    QString caption; // what the progress window says is being downloaded
};

enum class DownloadOutcome { Completed, Failed, Cancelled };

// Everything the program asks of the desktop it runs on. The application talks only to this interface:
// one implementation shows real dialogs, another answers from a script so tests can drive the forms.
class Platform {
public:
    virtual ~Platform() = default;

    virtual MsgResult messageBox(const MessageRequest& request) = 0;
    // The chosen path, or nothing when the user cancels. The save dialog never asks about replacing.
    virtual std::optional<QString> saveFileName(const FileRequest& request) = 0;
    virtual std::optional<QString> openFileName(const FileRequest& request) = 0;
    // The chosen folder, or nothing when the user cancels. Uses the request's title and initial folder.
    virtual std::optional<QString> chooseFolder(const FileRequest& request) = 0;
    virtual QString desktopFolder() = 0;
    // Opens a document in the system's viewer, or an address in the browser.
    virtual bool openDocument(const QString& fileOrAddress) = 0;
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens a new message in the user's e-mail program, ready to send; on failure `error` says why.
    virtual bool composeMail(const MailRequest& mail, QString* error) = 0;
    // Downloads a file, showing its progress with a way to cancel. The target appears only complete and
    // checked; after a failure or a cancel nothing of it is left. On failure `error` says why.
    virtual DownloadOutcome download(const DownloadRequest& request, QString* error) = 0;
    // Lets pending window events run during a long operation.
    virtual void processEvents() = 0;
};

// The platform in use. Until one is set, a scripted platform that cancels every dialog is used,
// so code that runs without a desktop never blocks on a dialog.
Platform& platform();
// Installs a platform (not owned); nullptr restores the default.
void setPlatform(Platform* platform);

} // namespace ondavia
