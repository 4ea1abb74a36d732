#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every target needs: an application object (offscreen) and a private scratch folder.
void FuzzInitApplication();
QString FuzzScratchFolder();
// Writes the input to a file in the scratch folder and returns its path.
QString FuzzWriteFile(const QString& name, const uint8_t* data, size_t size);
inline QByteArray FuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}
