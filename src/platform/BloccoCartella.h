#pragma once

#include <QString>

#include <memory>

namespace ondavia {

// One program per program folder: an exclusive lock on the lock file `ondavia.lock` inside the folder,
// held until released or until the process ends. The system drops the lock of a process that dies,
// so a crash leaves nothing behind that could keep the next program out. The lock file is removed
// when the lock is released.
class BloccoCartella {
public:
    enum class Esito {
        Preso,    // this object holds the lock now
        Occupato, // another program (or another object of this one) holds it
        Errore,   // the lock file cannot be made or locked: see the error text
    };

    BloccoCartella();
    ~BloccoCartella();
    BloccoCartella(const BloccoCartella&) = delete;
    BloccoCartella& operator=(const BloccoCartella&) = delete;

    // Takes the lock of `cartella` without waiting, first releasing any lock this object holds.
    Esito prendi(const QString& cartella, QString* errore = nullptr);
    void rilascia();

    bool preso() const;
    // The folder whose lock this object holds; empty when it holds none.
    const QString& cartella() const { return m_cartella; }

    // The lock file of a folder.
    static QString fileDiBlocco(const QString& cartella);

private:
    struct Presa;
    std::unique_ptr<Presa> m_presa;
    QString m_cartella;
};

} // namespace ondavia
