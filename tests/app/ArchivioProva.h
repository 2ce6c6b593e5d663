#pragma once

#include "app/Archivio.h"
#include "app/Dichiarazioni.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh seeded database on the shared connection, with the municipality tables loaded.
class ArchivioProva : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_cartella.isValid());
        QString errore;
        ASSERT_TRUE(ondavia::CreaArchivio(m_cartella.filePath(QStringLiteral("OVIA.db")), QString(), &errore))
            << errore.toStdString();
        ASSERT_TRUE(ondavia::Conn.Open(m_cartella.filePath(QStringLiteral("OVIA.db"))));
        ASSERT_TRUE(ondavia::CaricaComuni(&errore)) << errore.toStdString();
    }

    void TearDown() override { ondavia::ResetDichiarazioni(); }

    // Runs a statement that the test needs to succeed.
    static void esegui(const QString& sql)
    {
        ASSERT_TRUE(ondavia::Conn.Execute(sql)) << ondavia::Conn.lastError().toStdString();
    }

    QTemporaryDir m_cartella;
};
