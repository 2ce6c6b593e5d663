#include "Connection.h"

#include "Recordset.h"
#include "SqlDialect.h"
#include "Statement.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

namespace ondavia::db {

namespace {

QString reasonFor(int code, const char* sqliteMessage)
{
    switch (code & 0xff) {
    case SQLITE_NOTADB:
        return QStringLiteral("il file non è un database di Ondavia o è danneggiato");
    case SQLITE_CORRUPT:
        return QStringLiteral("il database è danneggiato");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("il database è bloccato da un altro programma");
    case SQLITE_CANTOPEN:
        return QStringLiteral("il file non può essere aperto (percorso o permessi)");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("il file non può essere modificato (sola lettura)");
    case SQLITE_FULL:
        return QStringLiteral("il disco è pieno");
    default:
        return QString::fromUtf8(sqliteMessage ? sqliteMessage : "errore sconosciuto");
    }
}

} // namespace

Connection::~Connection()
{
    Close();
}

void Connection::Close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool Connection::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

bool Connection::fail(const QString& context)
{
    return fail(context, m_db ? sqlite3_extended_errcode(m_db) : SQLITE_ERROR);
}

bool Connection::fail(const QString& context, int code)
{
    const char* message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
    const QString reason = (code & 0xff) == SQLITE_ERROR ? QString::fromUtf8(message) : reasonFor(code, message);
    m_lastError = context.isEmpty() ? reason : context + QStringLiteral(": ") + reason;
    return false;
}

bool Connection::openWith(const QString& path, int flags)
{
    Close();
    m_path = path;
    m_lastError.clear();
    const QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        fail(QString(), rc);
        Close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);

    // Reading the schema proves the file is a database; taking the write lock proves that no other
    // program holds it.
    char* error = nullptr;
    int probe = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error);
    sqlite3_free(error);
    if (probe == SQLITE_OK && sqlite3_db_readonly(m_db, "main") == 1) {
        probe = SQLITE_READONLY;
    }
    if (probe == SQLITE_OK) {
        probe = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    }
    if (probe != SQLITE_OK) {
        fail(QString(), probe);
        Close();
        return false;
    }
    if (!canWriteInPlace()) {
        Close();
        return false;
    }
    return true;
}

bool Connection::canWriteInPlace()
{
    // A change is first copied to a journal beside the file: a folder that takes no new file lets the
    // database open and then fails the first save. Rewriting the header's user version, rolled back at
    // once, creates and removes that journal without changing a byte of the file.
    int version = 0;
    bool written = false;
    {
        Statement read(*this);
        written = read.prepare("PRAGMA user_version") &&
                  stepToEnd(read, [&version](sqlite3_stmt* row) { version = sqlite3_column_int(row, 0); });
    }
    if (written) {
        const QByteArray rewrite = "PRAGMA user_version = " + QByteArray::number(version);
        written = sqlite3_exec(m_db, rewrite.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    const int failure = written ? SQLITE_OK : sqlite3_extended_errcode(m_db);
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (failure == SQLITE_OK) {
        return true;
    }
    const QString folder = QDir::toNativeSeparators(QFileInfo(m_path).absolutePath());
    if ((failure & 0xff) == SQLITE_FULL) {
        m_lastError = reasonFor(failure, nullptr);
    } else {
        m_lastError = QStringLiteral("nella cartella %1 il database non può scrivere il file delle modifiche "
                                     "in corso (cartella in sola lettura o permessi insufficienti)")
                          .arg(folder);
    }
    return false;
}

bool Connection::columns(const QString& table, QStringList* names)
{
    names->clear();
    if (!m_db) {
        m_lastError = QStringLiteral("la connessione al database non è aperta");
        return false;
    }
    // Names compare without regard to case, as SQL does; a view is no table.
    Statement statement(*this);
    if (!statement.prepare("SELECT p.name FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
                           "WHERE m.type = 'table' AND m.name = ?1 COLLATE NOCASE ORDER BY p.cid")) {
        return false;
    }
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(statement.handle(), 1, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    if (!stepToEnd(statement, [names](sqlite3_stmt* row) {
            *names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, 0)));
        })) {
        return false;
    }
    m_lastError.clear();
    return !names->isEmpty();
}

bool Connection::stepToEnd(Statement& statement, const std::function<void(sqlite3_stmt*)>& row)
{
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
        if (row) {
            row(statement.handle());
        }
    }
    return rc == SQLITE_DONE;
}

bool Connection::Open(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        m_path = path;
        m_lastError = QStringLiteral("il file non esiste");
        return false;
    }
    return openWith(path, SQLITE_OPEN_READWRITE);
}

bool Connection::create(const QString& path)
{
    if (QFileInfo::exists(path)) {
        m_path = path;
        m_lastError = QStringLiteral("il file %1 esiste già").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return openWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool Connection::Execute(const QString& sql, Recordset* rows)
{
    if (!m_db) {
        m_lastError = QStringLiteral("la connessione al database non è aperta");
        return false;
    }
    if (rows) {
        if (!rows->Open(sql, *this)) {
            m_lastError = rows->lastError();
            return false;
        }
        return true;
    }
    const QByteArray text = translateSql(sql).toUtf8();
    const char* next = text.constData();
    const char* end = next + text.size();
    while (next < end) {
        Statement statement(*this);
        const char* tail = nullptr;
        if (!statement.prepare(QByteArrayView(next, end - next), &tail)) {
            return false;
        }
        next = tail;
        if (!statement.isValid()) {
            continue; // blanks or a lone ";"
        }
        if (!stepToEnd(statement)) {
            return false;
        }
    }
    m_lastError.clear();
    return true;
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_active = connection.Execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (m_active) {
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

bool Transaction::commit()
{
    if (!m_active) {
        return false;
    }
    m_active = false;
    if (!m_connection.Execute(QStringLiteral("COMMIT"))) {
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return true;
}

} // namespace ondavia::db
