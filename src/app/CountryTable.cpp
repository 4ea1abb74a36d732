#include "app/CountryTable.h"

#include <QFile>

void LoadCountryTable(const QString& path, QStringList& names, QStringList& codes)
{
    names.clear();
    codes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    names.append(QStringLiteral("Neutral Zone"));
    codes.append(QStringLiteral("NT"));
    while (names.size() <= CountryTableFileLines && !file.atEnd()) {
        QString line = QString::fromLatin1(file.readLine());
        while (line.endsWith(QChar('\n')) || line.endsWith(QChar('\r')))
            line.chop(1);
        if (line.isEmpty())
            break;
        // The code is the last two characters, the name everything before the blank.
        codes.append(line.right(2));
        names.append(line.size() > 3 ? line.left(line.size() - 3) : QString());
    }
}
