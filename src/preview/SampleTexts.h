// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The sample text a first start shows and stores: fifteen lines.
QStringList designTimeSampleText();
// The multilingual sample that replaces the text when its first line reads "test": 58 lines in
// three sections, ending with a line feed.
QString multilingualSampleText();
