#pragma once

#include "DownloadService.h"

#include <QList>
#include <QSslCertificate>

namespace ondavia {

// Downloads one file over HTTPS, waiting for it while the window events keep running.
//
// Only https addresses are fetched, and a redirection may not lead to a less safe scheme. The body goes
// to a temporary file beside the target; it is renamed into place (and made executable when asked)
// only once it is complete: not cut short, not over the size limit, and matching its SHA-256 digest
// when one is given. After a failure or a cancel the temporary file is removed and the target is
// neither created nor touched.
class Downloader : public DownloadService {
public:
    // Certificate authorities trusted for the downloads of this object besides the system's own
    // (a test's local server signs with its own).
    void addTrustedCertificates(const QList<QSslCertificate>& certificates);

    // The longest wait for the next bytes before the download fails (30 seconds unless set).
    void setInactivityTimeout(int milliseconds) { m_inactivityTimeout = milliseconds; }

    DownloadOutcome run(const DownloadRequest& request, QString* error, const Progress& progress = {}) const override;

private:
    QList<QSslCertificate> m_trusted;
    int m_inactivityTimeout = 30000;
};

} // namespace ondavia
