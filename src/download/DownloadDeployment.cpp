// The credentials this build offers to the download server, set at build time
// (ORVEL_DOWNLOAD_USER / ORVEL_DOWNLOAD_PASSWORD); empty sends none.
#include "download/Downloader.h"

#ifndef ORVEL_DOWNLOAD_USER
#define ORVEL_DOWNLOAD_USER ""
#endif
#ifndef ORVEL_DOWNLOAD_PASSWORD
#define ORVEL_DOWNLOAD_PASSWORD ""
#endif

namespace orvel {

TDownloadDeployment BuiltDownloadDeployment() {
    return TDownloadDeployment{ORVEL_DOWNLOAD_USER, ORVEL_DOWNLOAD_PASSWORD, {}};
}

}  // namespace orvel
