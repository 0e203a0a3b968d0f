// SPDX-License-Identifier: MIT
#pragma once

#include "ZipDirectory.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

class ConsolePrompter;
class QTextStream;

// An archive entry as `glyvanta zip-list --json` shows it.
QJsonObject zipEntryJson(const ZipDirEntry &entry);

// The entries of an archive, read by the zip component.
int zipList(const QString &archive, bool json, QTextStream &out, ConsolePrompter &prompter);
// Extracts the named entries (names as zip-list prints them) into folder through the zip
// component and its unzip library: never outside the folder, never over an existing file.
int zipExtract(const QString &archive, const QStringList &entries, const QString &folder, QTextStream &out, ConsolePrompter &prompter);
