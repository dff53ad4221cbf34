#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reading the little-endian binary formats of Windows resources.

inline quint32 le16(const QByteArray &d, qsizetype at)
{
    return quint32(quint8(d[at])) | quint32(quint8(d[at + 1])) << 8;
}

inline quint32 le32(const QByteArray &d, qsizetype at)
{
    return le16(d, at) | le16(d, at + 2) << 16;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}
