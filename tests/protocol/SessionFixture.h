#pragma once

#include "protocol/ClientSession.h"
#include "protocol/RecordingPorts.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A headless session on a temporary program folder, connected through recording ports.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        rec.link.connected = true;
        session = std::make_unique<ClientSession>(folder.path(), rec.ports());
    }

    // Feeds server data and lets every timer run, as if the server then went quiet.
    void receive(const QByteArray& data)
    {
        session->IdTelnetDataAvailable(data);
        rec.clock.runUntilIdle();
    }

    QStringList memo() const { return session->DisplayMemo.texts(); }

    void writeFile(const QString& name, const QByteArray& contents)
    {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }

    QTemporaryDir folder;
    RecordingPorts rec;
    std::unique_ptr<ClientSession> session;
};
