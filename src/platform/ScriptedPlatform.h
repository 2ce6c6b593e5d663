#pragma once

#include "Platform.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace ondavia {

// A platform for tests: records every request and answers from queues filled by the test.
// An unanswered message box gets its default button; an unanswered file dialog is cancelled.
class ScriptedPlatform : public Platform {
public:
    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> saveFileName(const FileRequest& request) override;
    std::optional<QString> openFileName(const FileRequest& request) override;
    std::optional<QString> chooseFolder(const FileRequest& request) override;
    QString desktopFolder() override { return desktop; }
    bool openDocument(const QString& fileOrAddress) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool composeMail(const MailRequest& mail, QString* error) override;
    DownloadOutcome download(const DownloadRequest& request, QString* error) override;
    void processEvents() override { ++eventPumps; }

    // Texts of the message boxes shown so far, in order.
    QStringList messageTexts() const;

    std::vector<MessageRequest> messages;
    std::deque<MsgResult> answers;
    // Called for each message box before the queue is used; a result here answers it.
    std::function<std::optional<MsgResult>(const MessageRequest&)> onMessage;

    std::vector<FileRequest> saveRequests;
    std::deque<std::optional<QString>> saveAnswers;
    std::vector<FileRequest> openRequests;
    std::deque<std::optional<QString>> openAnswers;
    std::vector<FileRequest> folderRequests;
    std::deque<std::optional<QString>> folderAnswers;

    QString desktop;
    std::vector<QString> opened;
    bool openSucceeds = true;
    std::vector<std::pair<QString, QStringList>> started;
    bool startSucceeds = true;
    // Starts the program for real (e.g. through QtPlatform); absent: startSucceeds is the answer.
    std::function<bool(const QString&, const QStringList&)> starter;
    std::vector<MailRequest> mails;
    bool mailSucceeds = true;
    QString mailError = QStringLiteral("nessun programma di posta");
    std::vector<DownloadRequest> downloads;
    // Does the download's work (e.g. the real downloader, or writing the target file); absent: the
    // download fails.
    std::function<DownloadOutcome(const DownloadRequest&, QString*)> downloader;
    int eventPumps = 0;
};

// Installs a platform for the lifetime of a scope and restores the previous one.
class PlatformScope {
public:
    explicit PlatformScope(Platform& platform);
    ~PlatformScope();
    PlatformScope(const PlatformScope&) = delete;
    PlatformScope& operator=(const PlatformScope&) = delete;

private:
    Platform* m_previous;
};

} // namespace ondavia
