#pragma once

#include "rates/ratestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// On Windows the store's own paths are at the root of drive C: (under Wine, the prefix's drive_c),
// which outlives a test: remove the four files, and anything a save left beside them, before and
// after the tests that write there.
inline bool removeFilesAtRatePaths()
{
    bool removed = true;
    for (const varnek::Currency currency : varnek::allCurrencies) {
        const QFileInfo file(varnek::rateFilePath(currency));
        const QDir folder = file.dir();
        const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        for (const QString &name : folder.entryList({file.fileName() + u'*'}, filter)) {
            const QString path = folder.filePath(name);
            // A read-only file cannot be deleted on Windows.
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            removed = (QFile::remove(path) || QDir(path).removeRecursively()) && removed;
        }
    }
    return removed;
}
