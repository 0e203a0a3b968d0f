// SPDX-License-Identifier: MIT
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {
TestEnvironment *g_instance = nullptr;

const char *const kTestFonts[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/wine/fonts/sserife.fon",
    "/usr/share/wine/fonts/coure.fon",
    "/usr/share/wine/fonts/marlett.ttf",
    "/usr/share/wine/fonts/tahoma.ttf",
};
}

void TestEnvironment::setUp()
{
    static TestEnvironment environment;
    g_instance = &environment;
    QByteArray pattern = QDir::tempPath().toUtf8() + "/glyvanta-test-XXXXXX";
    const char *made = mkdtemp(pattern.data());
    environment.m_root = QString::fromUtf8(made ? made : "/tmp/glyvanta-test");
    const QString root = environment.m_root;
    QDir().mkpath(environment.testFontsFolder());
    for (const char *font : kTestFonts) {
        const QString path = QString::fromLatin1(font);
        QFile::link(path, environment.testFontsFolder() + path.section(QLatin1Char('/'), -1));
    }
    QDir().mkpath(root + QStringLiteral("/data/fonts"));
    QFile conf(root + QStringLiteral("/fonts.conf"));
    if (conf.open(QIODevice::WriteOnly)) {
        conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
                                  "  <dir>%1/testfonts</dir>\n  <dir>%1/data/fonts</dir>\n  <cachedir>%1/fccache</cachedir>\n"
                                  "</fontconfig>\n").arg(root).toUtf8());
    }
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toUtf8());
    // Private, as a session's is: the toolkit's copies of drawn fonts go there, not into TMPDIR.
    const QString runtime = root + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    qputenv("FONTCONFIG_FILE", (root + QStringLiteral("/fonts.conf")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No desktop's theme: every picture is the program's own, the same on every machine.
    qunsetenv("QT_QPA_PLATFORMTHEME");
}

TestEnvironment &TestEnvironment::instance()
{
    return *g_instance;
}

Paths TestEnvironment::paths() const
{
    Paths paths = Paths::fromEnvironment(m_root + QStringLiteral("/program"));
    return paths;
}

void TestEnvironment::resetUserFiles() const
{
    for (const char *folder : {"/config", "/cache"}) {
        QDir(m_root + QString::fromLatin1(folder)).removeRecursively();
        QDir().mkpath(m_root + QString::fromLatin1(folder));
    }
    QDir fonts(m_root + QStringLiteral("/data/fonts"));
    fonts.removeRecursively();
    QDir().mkpath(fonts.path());
}

QString TestEnvironment::makeFolder(const QString &name) const
{
    const QString path = m_root + QStringLiteral("/work/") + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path + QLatin1Char('/');
}
