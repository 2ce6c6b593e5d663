#include "Downloader.h"

#include "Sha256Digest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <memory>

namespace ondavia {

namespace {

DownloadOutcome fail(QString* error, const QString& text)
{
    if (error) {
        *error = text;
    }
    return DownloadOutcome::Failed;
}

// What one transfer has gathered; filled by the reply's signals.
struct Transfer {
    Transfer(QTemporaryFile& target, qint64 limit) : file(&target), maxBytes(limit) {}

    QTemporaryFile* file;
    qint64 maxBytes;
    qint64 received = 0;
    QCryptographicHash hash{QCryptographicHash::Sha256};
    QString failure;
    bool cancelled = false;
};

QString sizeText(qint64 bytes)
{
    return QStringLiteral("%1 byte").arg(bytes);
}

void receive(QNetworkReply& reply, Transfer& transfer)
{
    if (!transfer.failure.isEmpty() || transfer.cancelled) {
        return;
    }
    const QByteArray data = reply.readAll();
    transfer.received += data.size();
    if (transfer.received > transfer.maxBytes) {
        transfer.failure = QStringLiteral("il file supera il limite di %1").arg(sizeText(transfer.maxBytes));
        reply.abort();
        return;
    }
    transfer.hash.addData(data);
    if (transfer.file->write(data) != data.size()) {
        transfer.failure = QStringLiteral("scrittura non riuscita: ") + transfer.file->errorString();
        reply.abort();
    }
}

void checkHeaders(QNetworkReply& reply, Transfer& transfer)
{
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > transfer.maxBytes && transfer.failure.isEmpty()) {
        transfer.failure = QStringLiteral("il file (%1) supera il limite di %2")
                               .arg(sizeText(length.toLongLong()), sizeText(transfer.maxBytes));
        reply.abort();
    }
}

// Why a finished reply did not bring the whole file, or an empty text when it did.
QString replyFailure(const QNetworkReply& reply, qint64 received, int timeout)
{
    // Not cancelled by us, so the transfer timeout stopped it.
    if (reply.error() == QNetworkReply::OperationCanceledError) {
        return QStringLiteral("il server non ha risposto per %1 secondi").arg(timeout / 1000);
    }
    if (reply.error() != QNetworkReply::NoError) {
        return reply.errorString();
    }
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() != 200) {
        return QStringLiteral("il server ha risposto %1 %2")
            .arg(status.toInt())
            .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() != received) {
        return QStringLiteral("file incompleto: ricevuti %1 su %2")
            .arg(sizeText(received), sizeText(length.toLongLong()));
    }
    return {};
}

// Renames the finished temporary file onto the target, replacing it in one step.
bool moveIntoPlace(QTemporaryFile& file, const QString& target, QString* error)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(file.fileName()).toStdString(), QFile::encodeName(target).toStdString(),
                            code);
    if (code) {
        *error = QStringLiteral("impossibile scrivere %1: %2")
                     .arg(QDir::toNativeSeparators(target), QString::fromLocal8Bit(code.message()));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

} // namespace

void Downloader::addTrustedCertificates(const QList<QSslCertificate>& certificates)
{
    m_trusted += certificates;
}

DownloadOutcome Downloader::run(const DownloadRequest& request, QString* error, const Progress& progress) const
{
    const QUrl url(request.address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
        return fail(error,
                    QStringLiteral("indirizzo non consentito (sono ammessi solo indirizzi https): ") + request.address);
    }
    const QByteArray digest = sha256Digest(request.sha256);
    if (!request.sha256.trimmed().isEmpty() && digest.isEmpty()) {
        return fail(error, QStringLiteral("l'impronta SHA-256 indicata non è valida (servono 64 cifre esadecimali)"));
    }
    if (request.maxBytes <= 0) {
        return fail(error, QStringLiteral("limite di dimensione non indicato"));
    }
    const QFileInfo target(request.targetFile);
    if (!target.absoluteDir().exists()) {
        return fail(error,
                    QStringLiteral("la cartella %1 non esiste").arg(QDir::toNativeSeparators(target.absolutePath())));
    }

    QTemporaryFile file(
        target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!file.open()) {
        return fail(error, QStringLiteral("impossibile creare un file in %1: %2")
                               .arg(QDir::toNativeSeparators(target.absolutePath()), file.errorString()));
    }

    QNetworkRequest get(url);
    get.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    get.setMaximumRedirectsAllowed(5);
    get.setTransferTimeout(m_inactivityTimeout);
    // The body exactly as stored: counted, limited and hashed byte for byte.
    get.setRawHeader("Accept-Encoding", "identity");
    if (!m_trusted.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(m_trusted);
        get.setSslConfiguration(tls);
    }

    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> reply(network.get(get));
    Transfer transfer(file, request.maxBytes);
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, [&] { checkHeaders(*reply, transfer); });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, [&] { receive(*reply, transfer); });
    qint64 total = -1;
    const auto askProgress = [&] {
        if (progress && !transfer.cancelled && transfer.failure.isEmpty() && !progress(transfer.received, total)) {
            transfer.cancelled = true;
            reply->abort();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, [&](qint64, qint64 expected) {
        total = expected;
        askProgress();
    });
    // Asked also while no bytes come, so a cancel takes effect when the server stalls.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, askProgress);
    poll.start(200);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    receive(*reply, transfer);

    if (transfer.cancelled) {
        return DownloadOutcome::Cancelled;
    }
    QString failure = transfer.failure;
    if (failure.isEmpty()) {
        failure = replyFailure(*reply, transfer.received, m_inactivityTimeout);
    }
    if (failure.isEmpty() && !digest.isEmpty() && transfer.hash.result() != digest) {
        failure = QStringLiteral("l'impronta SHA-256 del file scaricato non è quella attesa");
    }
    if (failure.isEmpty() && !file.flush()) {
        failure = QStringLiteral("scrittura non riuscita: ") + file.errorString();
    }
    if (failure.isEmpty() && request.executable &&
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                             QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                             QFileDevice::ExeOther)) {
        failure = QStringLiteral("impossibile rendere eseguibile il file: ") + file.errorString();
    }
    if (!failure.isEmpty()) {
        return fail(error, failure);
    }
    file.close();
    QString renameError;
    if (!moveIntoPlace(file, request.targetFile, &renameError)) {
        return fail(error, renameError);
    }
    return DownloadOutcome::Completed;
}

} // namespace ondavia
