// SPDX-License-Identifier: MIT
// Loading the settings store and the favourites file as they grow: the time per key should stay
// flat (a load linear in the size of the file).
#include "BenchSupport.h"
#include "IniFile.h"
#include "RegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray registryWithKeys(int keys)
{
    QByteArray out = "Windows Registry Editor Version 5.00\n";
    for (int i = 0; i < keys; ++i)
        out += "\n[HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2\\Key " + QByteArray::number(i) + "]\n\"Preview Text\"=\"text " + QByteArray::number(i)
            + "~\"\n\"Options\"=hex:01,01,01,00\n";
    return out;
}

QByteArray iniWithKeys(int keys)
{
    QByteArray out = "[Favorites]\r\n";
    for (int i = 0; i < keys; ++i)
        out += "Folder " + QByteArray::number(i) + "=/home/user/fonts/" + QByteArray::number(i) + "/\r\n";
    return out;
}

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (const int keys : {25000, 50000, 100000, 200000}) {
        const QString reg = dir.filePath(QStringLiteral("registry-%1.reg").arg(keys));
        write(reg, registryWithKeys(keys));
        const double ms = medianMs(3, [&] {
            RegistryStore store(reg);
            if (store.load() != RegistryStore::LoadResult::Loaded)
                std::printf("not loaded\n");
        });
        report(QStringLiteral("registry.reg load, %1 keys").arg(keys).toUtf8().constData(), ms);
        std::printf("%-58s %10.3f us\n", "  per key", ms * 1000.0 / keys);
    }
    for (const int keys : {25000, 50000, 100000, 200000}) {
        const QString ini = dir.filePath(QStringLiteral("favorites-%1.ini").arg(keys));
        write(ini, iniWithKeys(keys));
        const double ms = medianMs(3, [&] {
            IniFile file(ini);
            if (file.readSection(QStringLiteral("Favorites")).size() != keys)
                std::printf("not read\n");
        });
        report(QStringLiteral("favorites.ini load and read, %1 keys").arg(keys).toUtf8().constData(), ms);
    }
    return 0;
}
