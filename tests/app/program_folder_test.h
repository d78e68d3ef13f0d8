#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A test that runs the whole program in a folder of its own, as the
// installed program runs in its data folder: the program reads its files by
// bare name from the folder it starts in.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }

    // Writes "Data001.txt" of the folder with exactly `bytes`.
    void WriteData(const QByteArray& bytes) const {
        QFile file(folder.filePath(QStringLiteral("Data001.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir folder;
    QString previous;
};
