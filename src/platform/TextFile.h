// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>

// Lines of a single-byte text file: UTF-8 when valid, else Windows-1252; CR LF, LF and CR end lines.
QStringList linesOfTextFile(const QByteArray &content);
