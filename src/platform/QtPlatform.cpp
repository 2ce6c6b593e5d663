#include "QtPlatform.h"

#include "ScatolaMessaggio.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

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
        return {{QMessageBox::Yes, MsgResult::Yes},
                {QMessageBox::No, MsgResult::No},
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

QtPlatform::QtPlatform()
    : m_networkModule(QStringLiteral(ONDAVIA_NETWORK_MODULE), QStringLiteral("per scaricare i file"))
{
}

QtPlatform::~QtPlatform() = default;

MsgResult QtPlatform::messageBox(const MessageRequest& request)
{
    ScatolaMessaggio box(dialogParent());
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
    const QString path =
        QFileDialog::getSaveFileName(dialogParent(), request.title, startPath(request), qtFilter(request.filter),
                                     nullptr, QFileDialog::DontConfirmOverwrite);
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

bool QtPlatform::composeMail(const MailRequest& mail, QString* error)
{
    if (QDesktopServices::openUrl(QUrl::fromEncoded(mailtoAddress(mail), QUrl::StrictMode))) {
        return true;
    }
    if (error) {
        *error = QStringLiteral("nessun programma di posta risponde agli indirizzi mailto:");
    }
    return false;
}

const DownloadService* QtPlatform::downloadService(QString* error)
{
    if (!m_downloadService) {
        const auto create =
            reinterpret_cast<CreateDownloadService>(m_networkModule.resolve("ondavia_create_download_service", error));
        if (create) {
            m_downloadService.reset(create());
        }
    }
    return m_downloadService.get();
}

DownloadOutcome QtPlatform::download(const DownloadRequest& request, QString* error)
{
    const DownloadService* service = downloadService(error);
    if (!service) {
        return DownloadOutcome::Failed;
    }
    QProgressDialog window(request.caption, QStringLiteral("Annulla"), 0, 0, dialogParent());
    window.setObjectName(QStringLiteral("scaricamento"));
    window.setWindowTitle(QApplication::applicationName());
    window.setWindowModality(Qt::ApplicationModal);
    window.setMinimumDuration(400);
    window.setAutoReset(false);
    window.setAutoClose(false);
    window.setValue(0);
    return service->run(request, error, [&window](qint64 received, qint64 total) {
        // The bar counts kilobytes, so files over 2 GB still fit its int range.
        window.setMaximum(total > 0 ? static_cast<int>(total / 1024) + 1 : 0);
        window.setValue(static_cast<int>(received / 1024));
        return !window.wasCanceled();
    });
}

void QtPlatform::processEvents()
{
    QApplication::processEvents();
}

} // namespace ondavia
