// The network module: the downloader and Qt Network, loaded by the program at its first download.
#include "Downloader.h"

extern "C" Q_DECL_EXPORT ondavia::DownloadService* ondavia_create_download_service()
{
    return new ondavia::Downloader;
}
