#include "Recordset.h"

#include "Connection.h"
#include "Criterion.h"
#include "RowStore.h"
#include "SqlDialect.h"
#include "Statement.h"

#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace ondavia::db {

namespace {

QString quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

struct Recordset::Impl {
    enum class Edit { None, Changing, Adding };

    Connection* connection = nullptr;
    QString table; // set when the rows come from one table and can be changed
    std::vector<detail::Column> columns;
    detail::RowStore rows{&columns};
    std::vector<sqlite3_int64> rowids;
    int current = 0;
    Edit edit = Edit::None;
    std::vector<Value> buffer;
    std::vector<bool> changed;
    QString lastError;
    // Folded text of a column -> rows holding it, ascending; built on the first search by that column.
    QHash<int, QHash<QString, std::vector<int>>> indexes;
    // Folded text of a column with its row, in text order and rows ascending within one text; built on
    // the first prefix search by that column. The rows beginning with a prefix lie together in it.
    QHash<int, std::vector<std::pair<QString, int>>> prefixIndexes;
    // The last insert prepared, kept for the next row that assigns the same columns: rows added one
    // after another (a restore adds thousands) are then not parsed again each time.
    std::optional<Statement> insertStatement;
    std::vector<int> insertColumns;

    bool fail(const QString& message)
    {
        lastError = message;
        return false;
    }

    bool onRow() const { return current >= 0 && current < rows.rowCount(); }

    Value valueAt(int column) const
    {
        if (edit != Edit::None) {
            return buffer[column];
        }
        return onRow() ? rows.value(current, column) : Value();
    }

    bool convert(int column, const Value& value, Value* out);
    bool store();
    const QHash<QString, std::vector<int>>& index(int column);
    const std::vector<std::pair<QString, int>>& prefixIndex(int column);
};

bool Recordset::Impl::convert(int column, const Value& value, Value* out)
{
    const detail::Column& c = columns[column];
    if (value.isNull()) {
        *out = value;
        return true;
    }
    const auto mismatch = [&c] {
        return QStringLiteral("Tipo di dati non corrispondente per il campo %1").arg(c.name);
    };
    switch (c.type) {
    case adVarWChar: {
        const QString text = value.toText();
        if (c.maxLength > 0 && text.size() > c.maxLength) {
            return fail(QStringLiteral("Il campo %1 è troppo piccolo per il valore (%2 caratteri al massimo)")
                            .arg(c.name)
                            .arg(c.maxLength));
        }
        *out = Value(text);
        return true;
    }
    case adInteger:
    case adBoolean: {
        bool ok = false;
        const qint64 number = value.toInteger(&ok);
        if (!ok) {
            return fail(mismatch());
        }
        if (number < c.minimum || number > c.maximum) {
            return fail(QStringLiteral("Il valore %1 è fuori dell'intervallo del campo %2 (da %3 a %4)")
                            .arg(number)
                            .arg(c.name)
                            .arg(c.minimum)
                            .arg(c.maximum));
        }
        *out = Value(number);
        return true;
    }
    case adDouble: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok) {
            return fail(mismatch());
        }
        *out = Value(number);
        return true;
    }
    default: { // dates
        QDate date;
        if (value.kind() == Value::Kind::Integer || value.kind() == Value::Kind::Double) {
            date = zeroDate().addDays(value.toInteger());
        } else {
            date = value.toDate();
        }
        if (!date.isValid()) {
            return fail(mismatch());
        }
        *out = Value(date);
        return true;
    }
    }
}

bool Recordset::Impl::store()
{
    if (edit == Edit::None) {
        return true;
    }
    std::vector<int> assigned;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        if (changed[i]) {
            assigned.push_back(i);
        }
    }
    if (edit == Edit::Changing && assigned.empty()) {
        edit = Edit::None;
        return true;
    }
    // The values in the order of the statement's marks; a changed row is found by its rowid, the last mark.
    std::vector<Value> values;
    values.reserve(assigned.size() + 1);
    for (int i : assigned) {
        values.push_back(buffer[i]);
    }

    std::optional<Statement> update;
    Statement* statement = nullptr;
    if (edit == Edit::Adding) {
        if (!insertStatement || !insertStatement->isValid() || insertColumns != assigned) {
            QString sql;
            if (assigned.empty()) {
                sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(table));
            } else {
                QStringList names;
                QStringList marks;
                for (int i : assigned) {
                    names << quoteIdentifier(columns[i].name);
                    marks << QStringLiteral("?");
                }
                sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(quoteIdentifier(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
            }
            // The columns are forgotten first, so that a failure halfway never pairs them with another insert.
            insertColumns.clear();
            if (!insertStatement.emplace(*connection).prepare(sql.toUtf8())) {
                return fail(insertStatement->lastError());
            }
            insertColumns = std::move(assigned);
        }
        statement = &*insertStatement;
    } else {
        QStringList sets;
        for (int i : assigned) {
            sets << quoteIdentifier(columns[i].name) + QStringLiteral("=?");
        }
        const QString sql =
            QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(quoteIdentifier(table), sets.join(QLatin1Char(',')));
        statement = &update.emplace(*connection);
        if (!statement->prepare(sql.toUtf8())) {
            return fail(statement->lastError());
        }
        values.push_back(Value(static_cast<qint64>(rowids[current])));
    }
    if (!statement->run(values)) {
        return fail(statement->lastError());
    }

    if (edit == Edit::Adding) {
        rows.append(buffer);
        rowids.push_back(sqlite3_last_insert_rowid(connection->handle()));
        current = rows.rowCount() - 1;
    } else {
        rows.replace(current, buffer);
    }
    edit = Edit::None;
    indexes.clear();
    prefixIndexes.clear();
    lastError.clear();
    return true;
}

const QHash<QString, std::vector<int>>& Recordset::Impl::index(int column)
{
    auto found = indexes.find(column);
    if (found == indexes.end()) {
        QHash<QString, std::vector<int>> built;
        built.reserve(rows.rowCount());
        for (int row = 0; row < rows.rowCount(); ++row) {
            built[rows.value(row, column).toText().toCaseFolded()].push_back(row);
        }
        found = indexes.insert(column, std::move(built));
    }
    return *found;
}

const std::vector<std::pair<QString, int>>& Recordset::Impl::prefixIndex(int column)
{
    auto found = prefixIndexes.find(column);
    if (found == prefixIndexes.end()) {
        std::vector<std::pair<QString, int>> built;
        built.reserve(rows.rowCount());
        for (int row = 0; row < rows.rowCount(); ++row) {
            built.emplace_back(rows.value(row, column).toText().toCaseFolded(), row);
        }
        std::sort(built.begin(), built.end());
        found = prefixIndexes.insert(column, std::move(built));
    }
    return *found;
}

Recordset::Recordset() : m_d(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

bool Recordset::Open(const QString& sql, Connection& connection)
{
    Close();
    m_d->connection = &connection;
    if (!connection.isOpen()) {
        return m_d->fail(QStringLiteral("la connessione al database non è aperta"));
    }

    // A "SELECT * FROM table" query can change its table: read each row's rowid along with it.
    static const QRegularExpression wholeTable(
        QStringLiteral(R"(^\s*SELECT\s+(\*)\s+FROM\s+([A-Za-z_][A-Za-z0-9_]*)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = translateSql(sql);
    const auto match = wholeTable.match(text);
    const bool updatable = match.hasMatch();
    if (updatable) {
        m_d->table = match.captured(2);
        text.replace(match.capturedStart(1), 1, QStringLiteral("rowid AS \"rowid:hidden\", *"));
    }

    Statement statement(connection);
    if (!statement.prepare(text.toUtf8())) {
        const QString error = statement.lastError();
        Close();
        return m_d->fail(error);
    }

    const int first = updatable ? 1 : 0;
    const int count = sqlite3_column_count(statement.handle());
    for (int i = first; i < count; ++i) {
        m_d->columns.push_back(detail::columnOf(statement.handle(), i));
    }

    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
        m_d->rows.appendFrom(statement.handle(), first);
        m_d->rowids.push_back(updatable ? sqlite3_column_int64(statement.handle(), 0) : 0);
    }
    // An expression column (Count, Max) takes its type from the first value it holds.
    if (m_d->rows.rowCount() > 0) {
        for (int c = 0; c < static_cast<int>(m_d->columns.size()); ++c) {
            if (!m_d->columns[c].declared) {
                const Value::Kind kind = m_d->rows.value(0, c).kind();
                m_d->columns[c].type = kind == Value::Kind::Integer  ? adInteger
                                       : kind == Value::Kind::Double ? adDouble
                                                                     : adVarWChar;
            }
        }
    }
    if (rc != SQLITE_DONE) {
        const QString error = statement.lastError();
        Close();
        return m_d->fail(error);
    }
    m_d->current = 0;
    m_d->lastError.clear();
    return true;
}

bool Recordset::isOpen() const
{
    return m_d->connection != nullptr && !m_d->columns.empty();
}

void Recordset::Close()
{
    const QString error = m_d->lastError;
    m_d = std::make_unique<Impl>();
    m_d->lastError = error;
}

int Recordset::RecordCount() const
{
    return m_d->rows.rowCount();
}

bool Recordset::Eof() const
{
    return m_d->edit != Impl::Edit::Adding && m_d->current >= m_d->rows.rowCount();
}

void Recordset::MoveFirst()
{
    if (m_d->edit != Impl::Edit::None && !m_d->store()) {
        return;
    }
    m_d->current = 0;
}

void Recordset::MoveNext()
{
    if (m_d->edit != Impl::Edit::None && !m_d->store()) {
        return;
    }
    if (m_d->current < m_d->rows.rowCount()) {
        ++m_d->current;
    }
}

int Recordset::position() const
{
    return m_d->current;
}

int Recordset::FieldCount() const
{
    return static_cast<int>(m_d->columns.size());
}

Field Recordset::Fields(int index)
{
    return Field(this, index >= 0 && index < FieldCount() ? index : -1);
}

Field Recordset::Fields(const QString& name)
{
    return Field(this, fieldIndex(name));
}

int Recordset::fieldIndex(const QString& name) const
{
    return detail::columnIndex(m_d->columns, name);
}

bool Recordset::AddNew()
{
    if (m_d->table.isEmpty()) {
        return m_d->fail(QStringLiteral("Il recordset non è aggiornabile"));
    }
    if (m_d->edit != Impl::Edit::None && !m_d->store()) {
        return false;
    }
    m_d->edit = Impl::Edit::Adding;
    m_d->buffer.assign(m_d->columns.size(), Value());
    m_d->changed.assign(m_d->columns.size(), false);
    return true;
}

bool Recordset::Update()
{
    return m_d->store();
}

bool Recordset::convertValue(int index, const Value& value, Value* converted)
{
    if (index < 0 || index >= FieldCount()) {
        return m_d->fail(QStringLiteral("Elemento non trovato nell'insieme"));
    }
    return m_d->convert(index, value, converted);
}

bool Recordset::Find(const QString& criterion)
{
    const Criterion parsed = Criterion::parse(criterion);
    if (!parsed.isValid()) {
        return m_d->fail(QStringLiteral("Criterio di ricerca non valido: %1").arg(criterion));
    }
    const int column = fieldIndex(parsed.column);
    if (column < 0) {
        return m_d->fail(QStringLiteral("Campo sconosciuto nel criterio di ricerca: %1").arg(parsed.column));
    }
    if (m_d->edit != Impl::Edit::None && !m_d->store()) {
        return false;
    }
    const int rowCount = m_d->rows.rowCount();
    const int from = std::max(m_d->current, 0);
    m_d->current = rowCount;
    if (from >= rowCount) {
        return true;
    }
    if (parsed.op == Criterion::Op::Equal) {
        const auto& byText = m_d->index(column);
        const auto hit = byText.constFind(parsed.value.toCaseFolded());
        if (hit != byText.constEnd()) {
            const auto next = std::lower_bound(hit->begin(), hit->end(), from);
            if (next != hit->end()) {
                m_d->current = *next;
            }
        }
        return true;
    }
    // A prefix search (the completion of a name as it is typed) reads the rows beginning with it, not the
    // whole table.
    if (const std::optional<QString> prefix = parsed.prefix()) {
        const QString folded = prefix->toCaseFolded();
        const auto& byText = m_d->prefixIndex(column);
        auto hit = std::lower_bound(
            byText.begin(), byText.end(), folded,
            [](const std::pair<QString, int>& entry, const QString& text) { return entry.first < text; });
        // An empty prefix begins every text, also the empty text of a Null.
        for (; hit != byText.end() && (folded.isEmpty() || hit->first.startsWith(folded)); ++hit) {
            if (hit->second >= from && hit->second < m_d->current) {
                m_d->current = hit->second;
            }
        }
        return true;
    }
    for (int row = from; row < rowCount; ++row) {
        if (parsed.matches(m_d->rows.value(row, column).toText())) {
            m_d->current = row;
            break;
        }
    }
    return true;
}

const QString& Recordset::lastError() const
{
    return m_d->lastError;
}

QString Field::name() const
{
    return isValid() ? m_set->m_d->columns[m_index].name : QString();
}

int Field::Type() const
{
    return isValid() ? m_set->m_d->columns[m_index].type : 0;
}

db::Value Field::Value() const
{
    return isValid() ? m_set->m_d->valueAt(m_index) : db::Value();
}

bool Field::setValue(const db::Value& value)
{
    if (!isValid()) {
        return m_set ? m_set->m_d->fail(QStringLiteral("Elemento non trovato nell'insieme")) : false;
    }
    auto& d = *m_set->m_d;
    if (d.table.isEmpty()) {
        return d.fail(QStringLiteral("Il recordset non è aggiornabile"));
    }
    if (d.edit == Recordset::Impl::Edit::None) {
        if (!d.onRow()) {
            return d.fail(QStringLiteral("Nessun record corrente"));
        }
        d.edit = Recordset::Impl::Edit::Changing;
        d.buffer = d.rows.row(d.current);
        d.changed.assign(d.columns.size(), false);
    }
    db::Value converted;
    if (!d.convert(m_index, value, &converted)) {
        return false;
    }
    d.buffer[m_index] = converted;
    d.changed[m_index] = true;
    return true;
}

} // namespace ondavia::db
