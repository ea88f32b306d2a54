#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

#include <stdlib.h>

// The working folder of one test, from before the application is built (its tracker writes
// "configuracion" and the sample files there) until after it is gone: the two sound clips and
// nothing else, so every model is reported missing and the program starts all the same. No
// camera is opened, whatever the machine has, and sound goes to OpenAL's null device unless
// ALSOFT_DRIVERS says otherwise.
class GameFolder {
public:
    GameFolder() : m_previous(QDir::currentPath())
    {
        ::setenv("BRUMARIA_CAMERA", "99", 1);
        // No sound card needed.
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        QDir::setCurrent(m_folder.path());
        QDir().mkdir("snd");
        for (const char* clip : {"snd/andar.snd", "snd/golpe.snd"}) {
            QFile file(clip);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(4 * 2205, '\0'));
        }
    }
    ~GameFolder() { QDir::setCurrent(m_previous); }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    bool IsValid() const { return m_folder.isValid() && QFile::exists("snd/golpe.snd"); }
    std::string FilePath(const char* name) const { return QDir(m_folder.path()).filePath(name).toStdString(); }

private:
    QTemporaryDir m_folder;
    QString m_previous;
};
