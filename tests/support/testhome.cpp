// Every test runs with a home folder of its own under the temporary folder,
// made before main() and removed at the end: what the program keeps in the
// user's folders (the desktop trash, settings, caches) never touches the
// real ones. The temporary folder lies on the same disk as the tests' own
// folders, so the desktop trash is the one in this home.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct TestHome {
    QTemporaryDir home{QDir::tempPath() + QStringLiteral("/zavik-test-home-XXXXXX")};
    TestHome() {
        if (!home.isValid())
            return;
        const QByteArray path = QFile::encodeName(home.path());
        qputenv("HOME", path);
        qputenv("XDG_DATA_HOME", path + "/.local/share");
        qputenv("XDG_CONFIG_HOME", path + "/.config");
        qputenv("XDG_CACHE_HOME", path + "/.cache");
    }
};

const TestHome testHome;

} // namespace
