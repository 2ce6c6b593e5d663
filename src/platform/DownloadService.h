#pragma once

#include "Platform.h"

#include <functional>

namespace ondavia {

// What downloads a file for the platform. The program's is the downloader of Qt Network, in the module
// NetworkModule loads at the first download.
class DownloadService {
public:
    // Told of the bytes received so far and of the total (-1 while unknown); returning false cancels.
    using Progress = std::function<bool(qint64 received, qint64 total)>;

    virtual ~DownloadService() = default;

    // Downloads the file as DownloadRequest says; on failure `error` says why.
    virtual DownloadOutcome run(const DownloadRequest& request, QString* error,
                                const Progress& progress = {}) const = 0;
};

// The function the network module exports under the name "ondavia_create_download_service": a new service,
// owned by the caller.
using CreateDownloadService = DownloadService* (*)();

} // namespace ondavia
