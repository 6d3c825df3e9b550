// The test catalogues for the suites cross-built for Windows: the host
// build's, named by scripts/test-windows in TRMSG_TEST_INSTALLATION.
#include "processrun.h"

QByteArray testInstallation()
{
    return qgetenv("TRMSG_TEST_INSTALLATION");
}
