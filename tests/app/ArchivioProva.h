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
        const QString file = m_cartella.filePath(QStringLiteral("OVIA.db"));
        QString errore;
        ASSERT_TRUE(ondavia::creaArchivio(file, QString(), &errore)) << errore.toStdString();
        ASSERT_TRUE(ondavia::Conn.Open(file));
        ASSERT_TRUE(ondavia::CaricaComuni(&errore)) << errore.toStdString();
    }
    void TearDown() override { ondavia::resetDichiarazioni(); }

    static void esegui(const QString& sql) { ASSERT_TRUE(ondavia::Conn.Execute(sql)) << sql.toStdString(); }

    QTemporaryDir m_cartella;
};
