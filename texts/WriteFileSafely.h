#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// Writes a file the way the database is saved (SafeFileReplace): the new content goes beside
// the file and replaces it only when whole, and the file keeps what it is (a link stays a link
// to it, its owner, mode and ACLs stay). write returns false to give up (cancelled, or its
// own failure); then, and on any failure, the former file is left as it was, false is
// returned and error says why (empty when write gave up without a device error).
bool WriteFileSafely(const QString& fileName, const std::function<bool(QIODevice&)>& write,
                     QString& error);
bool WriteFileSafely(const QString& fileName, const QByteArray& bytes, QString& error);
