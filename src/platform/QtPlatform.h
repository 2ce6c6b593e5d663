#pragma once

#include "Downloader.h"
#include "Platform.h"

namespace ondavia {

// The platform of a real desktop session: Qt's message boxes and file dialogs, the user's Desktop
// folder, the system's document viewer, browser and e-mail program.
class QtPlatform : public Platform {
public:
    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> saveFileName(const FileRequest& request) override;
    std::optional<QString> openFileName(const FileRequest& request) override;
    std::optional<QString> chooseFolder(const FileRequest& request) override;
    QString desktopFolder() override;
    bool openDocument(const QString& fileOrAddress) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool composeMail(const MailRequest& mail, QString* error) override;
    // Through the downloader below, with a progress window whose "Annulla" cancels.
    DownloadOutcome download(const DownloadRequest& request, QString* error) override;
    void processEvents() override;

    // The downloader behind download(); tests add the certificate authority of their local server to it.
    Downloader& downloader() { return m_downloader; }

    // "Testo (*.TXT)|*.TXT" in Qt's form, matching the pattern in either letter case.
    static QString qtFilter(const QString& pairs);

private:
    Downloader m_downloader;
};

} // namespace ondavia
