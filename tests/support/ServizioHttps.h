#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QTemporaryDir>

namespace ondavia::test {

// A local HTTPS server for download tests: a certificate made for 127.0.0.1 on the spot, trusted by
// nobody but the test that asks for it, and tests/support/servizio_https.py serving a throw-away
// folder. Started by the constructor, stopped by the destructor; only loopback is used.
class ServizioHttps {
public:
    ServizioHttps();
    ~ServizioHttps();
    ServizioHttps(const ServizioHttps&) = delete;
    ServizioHttps& operator=(const ServizioHttps&) = delete;

    // Empty when the server runs; otherwise why it could not start.
    QString errore() const { return m_errore; }

    // "https://127.0.0.1:<port>", and the same followed by `percorso`.
    QString sito() const;
    QString indirizzo(const QString& percorso) const { return sito() + percorso; }
    // The same files over plain HTTP: "http://127.0.0.1:<other port>".
    QString sitoInChiaro() const;

    // Makes a file available at `percorso` (beginning with "/").
    void pubblica(const QString& percorso, const QByteArray& contenuto) const;

    // The server's certificate, to be trusted by the download under test.
    QList<QSslCertificate> certificati() const { return m_certificati; }

    // A loopback port on which nothing listens.
    static quint16 portaChiusa();

private:
    bool avvia();

    QTemporaryDir m_dir;
    QProcess m_processo;
    quint16 m_porta = 0;
    quint16 m_portaInChiaro = 0;
    QList<QSslCertificate> m_certificati;
    QString m_errore;
};

} // namespace ondavia::test
