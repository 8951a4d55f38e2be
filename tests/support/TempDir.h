#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A fresh current directory for a test's length (kelvaro.cfg, rs232.buf and kelvaro.ports live there).
class TempDir {
public:
    TempDir() : old_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~TempDir() { QDir::setCurrent(old_); }
    QString Path(const QString& name = QString()) const {
        return name.isEmpty() ? dir_.path() : dir_.filePath(name);
    }
    QByteArray Read(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }

private:
    QString old_;
    QTemporaryDir dir_;
};
