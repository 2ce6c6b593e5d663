#pragma once

#include "app/ScrittoreBackup.h"
#include "db/Value.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

#include <ostream>

// Readable texts in the failures of the tests.
inline void PrintTo(const QString& testo, std::ostream* os)
{
    *os << '"' << testo.toStdString() << '"';
}

namespace ondavia::test {

using Riga = QList<db::Value>;

// A register as the program has it after its first start (COPE with the three appended columns, the
// coded lists), opened on the shared connection for each test; its file is copied from one made once.
class BackupProva : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // COPE's columns in their order.
    static const QStringList& colonne();

    // A subject row with every column filled at random, as the register may hold it: texts with
    // apostrophes, accented capitals and "€", empty texts, Null and zero dates, Null and whole numbers.
    // `perCifrare` keeps texts to 30 capitals, which scrambling always carries; otherwise texts are as long
    // as their columns allow and may hold small letters.
    static Riga soggettoCasuale(std::mt19937& caso, const QString& codice, const QString& progressivo, bool perCifrare);
    static void aggiungi(const QString& tabella, const QList<Riga>& righe);
    // Every row of a table, each as one readable text, sorted.
    static QStringList righe(const QString& tabella = QStringLiteral("COPE"));
    static QString descrivi(const Riga& riga);
    static void esegui(const QString& sql);
    // Writes the backup of a table; on failure m_errore says why.
    bool salva(const QString& percorso, ScrittoreBackup::Opzioni opzioni = {}, const QString& tabella = "COPE");

    QString file(const QString& nome) const { return m_cartella.filePath(nome); }
    static QByteArray leggi(const QString& percorso);
    static void scrivi(const QString& percorso, const QByteArray& contenuto);

    QTemporaryDir m_cartella;
    QString m_errore;
};

} // namespace ondavia::test
