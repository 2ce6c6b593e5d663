#include "ServizioHttps.h"
#include "PercorsiProva.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>

namespace ondavia::test {

namespace {

constexpr int Attesa = 10000;

QString comandoFallito(QProcess& processo, const QString& comando)
{
    return QStringLiteral("%1: %2 %3")
        .arg(comando, processo.errorString(), QString::fromLocal8Bit(processo.readAllStandardError()));
}

} // namespace

ServizioHttps::ServizioHttps()
{
    if (!avvia() && m_processo.state() != QProcess::NotRunning) {
        m_processo.kill();
        m_processo.waitForFinished(Attesa);
    }
}

ServizioHttps::~ServizioHttps()
{
    if (m_processo.state() != QProcess::NotRunning) {
        m_processo.kill();
        m_processo.waitForFinished(Attesa);
    }
}

bool ServizioHttps::avvia()
{
    const QString certificato = m_dir.filePath(QStringLiteral("certificato.pem"));
    const QString chiave = m_dir.filePath(QStringLiteral("chiave.pem"));
    const QString radice = m_dir.filePath(QStringLiteral("sito"));
    QDir().mkpath(radice);

    // An elliptic-curve key is made in milliseconds; the certificate names the loopback address.
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                   chiave, "-out", certificato, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1,DNS:localhost"});
    if (!openssl.waitForFinished(Attesa) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        m_errore = comandoFallito(openssl, QStringLiteral("openssl"));
        return false;
    }
    m_certificati = QSslCertificate::fromPath(certificato);
    if (m_certificati.isEmpty()) {
        m_errore = QStringLiteral("certificato illeggibile");
        return false;
    }

    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) {
        m_errore = QStringLiteral("python3 non trovato");
        return false;
    }
    m_processo.start(
        python, {QStringLiteral(ONDAVIA_SOURCE_DIR "/tests/support/servizio_https.py"), radice, certificato, chiave});
    if (!m_processo.waitForStarted(Attesa)) {
        m_errore = comandoFallito(m_processo, QStringLiteral("python3"));
        return false;
    }
    while (!m_processo.canReadLine()) {
        if (!m_processo.waitForReadyRead(Attesa)) {
            m_errore = comandoFallito(m_processo, QStringLiteral("servizio_https.py"));
            return false;
        }
    }
    const QList<QByteArray> porte = m_processo.readLine().trimmed().split(' ');
    m_porta = static_cast<quint16>(porte.value(0).toUInt());
    m_portaInChiaro = static_cast<quint16>(porte.value(1).toUInt());
    if (m_porta == 0 || m_portaInChiaro == 0) {
        m_errore = QStringLiteral("porte non valide");
        return false;
    }
    return true;
}

QString ServizioHttps::sito() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(m_porta);
}

QString ServizioHttps::sitoInChiaro() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_portaInChiaro);
}

void ServizioHttps::pubblica(const QString& percorso, const QByteArray& contenuto) const
{
    const QString file = m_dir.filePath(QStringLiteral("sito") + percorso);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile uscita(file);
    if (uscita.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        uscita.write(contenuto);
    }
}

quint16 ServizioHttps::portaChiusa()
{
    QTcpServer prova;
    prova.listen(QHostAddress::LocalHost, 0);
    const quint16 porta = prova.serverPort();
    prova.close();
    return porta;
}

} // namespace ondavia::test
