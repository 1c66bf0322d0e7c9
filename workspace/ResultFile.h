// Writes a result page's file (a table or a picture) atomically, as documents are written.
#pragma once

#include <QByteArray>
#include <QString>

class ResultFile {
public:
    // The bytes go in under a temporary name beside the file and are renamed into place once complete, so a
    // failure leaves no half-written file. Returns an empty text, or the Danish message that names the file.
    static QString write(const QString& fileName, const QByteArray& bytes);
};
