#pragma once

#include <QString>

#include <stdexcept>

namespace ondavia {

// A failure that an operation of a form does not handle itself: it travels to the nearest error trap
// of the form or of the main window's command dispatch, which shows its description and goes on.
class ErroreEsecuzione : public std::runtime_error {
public:
    explicit ErroreEsecuzione(const QString& descrizione)
        : std::runtime_error(descrizione.toStdString()), m_descrizione(descrizione)
    {
    }

    const QString& descrizione() const { return m_descrizione; }

private:
    QString m_descrizione;
};

} // namespace ondavia
