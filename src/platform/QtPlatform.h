#pragma once

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
    bool composeMail(const MailRequest& mail) override;
    bool download(const QString& address, const QString& targetFile, QString* error) override;
    void processEvents() override;

    // "Testo (*.TXT)|*.TXT" in Qt's form, matching the pattern in either letter case.
    static QString qtFilter(const QString& pairs);
};

} // namespace ondavia
