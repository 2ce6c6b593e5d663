#pragma once

#include "DownloadService.h"
#include "Platform.h"
#include "ProgramModule.h"

#include <memory>

namespace ondavia {

// The platform of a real desktop session: Qt's message boxes and file dialogs, the user's Desktop
// folder, the system's document viewer, browser and e-mail program.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> saveFileName(const FileRequest& request) override;
    std::optional<QString> openFileName(const FileRequest& request) override;
    std::optional<QString> chooseFolder(const FileRequest& request) override;
    QString desktopFolder() override;
    bool openDocument(const QString& fileOrAddress) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool composeMail(const MailRequest& mail, QString* error) override;
    // Through the download service, with a progress window whose "Annulla" cancels. Unless one was given,
    // the service is the network module's, loaded at the first download.
    DownloadOutcome download(const DownloadRequest& request, QString* error) override;
    void processEvents() override;

    // Downloads through `service` from now on (tests give a downloader that trusts their local server).
    void useDownloadService(std::unique_ptr<DownloadService> service) { m_downloadService = std::move(service); }

    // "Testo (*.TXT)|*.TXT" in Qt's form, matching the pattern in either letter case.
    static QString qtFilter(const QString& pairs);

private:
    const DownloadService* downloadService(QString* error);

    ProgramModule m_networkModule;
    std::unique_ptr<DownloadService> m_downloadService;
};

} // namespace ondavia
