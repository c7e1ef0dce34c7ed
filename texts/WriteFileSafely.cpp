#include "texts/WriteFileSafely.h"

#include "database/SafeFileReplace.h"
#include "model/ErrorReport.h"

#include <QFile>

bool WriteFileSafely(const QString& fileName, const std::function<bool(QIODevice&)>& write,
                     QString& error) {
    error.clear();
    try {
        SafeFileReplace replace(QFile::encodeName(fileName).toStdString(), false);
        QFile file(QString::fromStdString(replace.ContentName()));
        if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.flush()) {
            if (file.error() != QFileDevice::NoError)
                error = file.errorString();
            return false;
        }
        file.close();
        replace.Commit();
        return true;
    } catch (const VroError& e) {
        error = QString::fromStdString(e.what());
        return false;
    }
}

bool WriteFileSafely(const QString& fileName, const QByteArray& bytes, QString& error) {
    return WriteFileSafely(
        fileName, [&](QIODevice& file) { return file.write(bytes) == bytes.size(); }, error);
}
