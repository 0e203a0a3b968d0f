// SPDX-License-Identifier: MIT
#pragma once

#include "CliCommands.h"
#include "CommandLine.h"
#include "TestEnvironment.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

// One run of the command line as the program would make it, its output caught.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out.toUtf8()); }
};

inline CliRun runCli(QStringList arguments)
{
    arguments.prepend(QStringLiteral("glyvanta"));
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = runCommandLine(parseCommandLine(withoutToolkitOptions(arguments)), TestEnvironment::instance().paths(), out, err);
    return run;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A TrueType collection of two real fonts: the collection header, then each font with its table
// offsets moved to count from the start of the collection.
inline QByteArray collectionOf(const QList<QByteArray> &fonts)
{
    auto put32 = [](QByteArray &out, quint32 v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((v >> shift) & 0xFF));
    };
    auto get16 = [](const QByteArray &in, int at) { return quint16((quint8(in[at]) << 8) | quint8(in[at + 1])); };
    auto get32 = [&](const QByteArray &in, int at) { return (quint32(get16(in, at)) << 16) | get16(in, at + 2); };
    QByteArray out("ttcf");
    put32(out, 0x00010000);
    put32(out, quint32(fonts.size()));
    quint32 offset = 12 + 4 * quint32(fonts.size());
    QList<quint32> offsets;
    for (const QByteArray &font : fonts) {
        offsets << offset;
        offset += quint32((font.size() + 3) & ~3);
    }
    for (quint32 at : offsets)
        put32(out, at);
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        QByteArray font = fonts[i];
        const int tables = get16(font, 4);
        for (int t = 0; t < tables; ++t) {
            QByteArray moved;
            put32(moved, get32(font, 12 + 16 * t + 8) + offsets[i]);
            font.replace(12 + 16 * t + 8, 4, moved);
        }
        font.append(QByteArray((4 - font.size() % 4) % 4, '\0'));
        out += font;
    }
    return out;
}
