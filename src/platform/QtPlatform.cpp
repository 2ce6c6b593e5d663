#include "QtPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace ondavia {

namespace {

QWidget* dialogParent()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    MsgResult answer;
};

std::vector<ButtonSpec> buttonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return {{QMessageBox::Ok, MsgResult::Ok}};
    case MsgButtons::OkCancel:
        return {{QMessageBox::Ok, MsgResult::Ok}, {QMessageBox::Cancel, MsgResult::Cancel}};
    case MsgButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, MsgResult::Abort},
                {QMessageBox::Retry, MsgResult::Retry},
                {QMessageBox::Ignore, MsgResult::Ignore}};
    case MsgButtons::YesNoCancel:
        return {{QMessageBox::Yes, MsgResult::Yes}, {QMessageBox::No, MsgResult::No},
                {QMessageBox::Cancel, MsgResult::Cancel}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, MsgResult::Yes}, {QMessageBox::No, MsgResult::No}};
    case MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, MsgResult::Retry}, {QMessageBox::Cancel, MsgResult::Cancel}};
    }
    return {{QMessageBox::Ok, MsgResult::Ok}};
}

QMessageBox::Icon iconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString startPath(const FileRequest& request)
{
    if (QFileInfo(request.fileName).isAbsolute() || request.initialFolder.isEmpty()) {
        return request.fileName;
    }
    return QDir(request.initialFolder).filePath(request.fileName);
}

} // namespace

MsgResult QtPlatform::messageBox(const MessageRequest& request)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(request.title.isEmpty() ? QApplication::applicationName() : request.title);
    box.setText(request.text);
    box.setIcon(iconOf(request.icon));
    const auto specs = buttonsOf(request.buttons);
    QMessageBox::StandardButtons standard;
    for (const auto& spec : specs) {
        standard |= spec.button;
    }
    box.setStandardButtons(standard);
    const auto index = static_cast<std::size_t>(request.defaultButton - 1);
    box.setDefaultButton(specs[index < specs.size() ? index : 0].button);
    const int clicked = box.exec();
    for (const auto& spec : specs) {
        if (clicked == spec.button) {
            return spec.answer;
        }
    }
    // Closing the box with Escape or the title bar counts as its cancel, or its only button.
    for (const auto& spec : specs) {
        if (spec.answer == MsgResult::Cancel || spec.answer == MsgResult::No) {
            return spec.answer;
        }
    }
    return specs.front().answer;
}

QString QtPlatform::qtFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            patterns << p;
            if (p.toLower() != p) {
                patterns << p.toLower();
            }
            if (p.toUpper() != p) {
                patterns << p.toUpper();
            }
        }
        const qsizetype bracket = description.lastIndexOf(QLatin1Char('('));
        if (bracket > 0 && description.endsWith(QLatin1Char(')'))) {
            description = description.left(bracket).trimmed();
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> QtPlatform::saveFileName(const FileRequest& request)
{
    const QString path = QFileDialog::getSaveFileName(dialogParent(), request.title, startPath(request),
                                                      qtFilter(request.filter), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(path);
}

std::optional<QString> QtPlatform::openFileName(const FileRequest& request)
{
    const QString path =
        QFileDialog::getOpenFileName(dialogParent(), request.title, startPath(request), qtFilter(request.filter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(path);
}

std::optional<QString> QtPlatform::chooseFolder(const FileRequest& request)
{
    const QString folder = QFileDialog::getExistingDirectory(dialogParent(), request.title, request.initialFolder);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(folder);
}

QString QtPlatform::desktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir(desktop).exists() ? desktop : QDir::homePath();
}

bool QtPlatform::openDocument(const QString& fileOrAddress)
{
    const QUrl url = QFileInfo::exists(fileOrAddress) ? QUrl::fromLocalFile(QFileInfo(fileOrAddress).absoluteFilePath())
                                                      : QUrl::fromUserInput(fileOrAddress);
    return QDesktopServices::openUrl(url);
}

bool QtPlatform::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool QtPlatform::composeMail(const MailRequest& mail)
{
    QUrl url(QStringLiteral("mailto:") + mail.to);
    QUrlQuery query;
    if (!mail.subject.isEmpty()) {
        query.addQueryItem(QStringLiteral("subject"), mail.subject);
    }
    if (!mail.body.isEmpty()) {
        query.addQueryItem(QStringLiteral("body"), mail.body);
    }
    url.setQuery(query);
    return QDesktopServices::openUrl(url);
}

bool QtPlatform::download(const QString& address, const QString& targetFile, QString* error)
{
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(address)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        if (error) {
            *error = reply->errorString();
        }
        return false;
    }
    // Unbuffered, so that a short write (full disk, size limit) is seen before the file is committed.
    QSaveFile file(targetFile);
    const QByteArray body = reply->readAll();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(body) != body.size() ||
        !file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

void QtPlatform::processEvents()
{
    QApplication::processEvents();
}

} // namespace ondavia
