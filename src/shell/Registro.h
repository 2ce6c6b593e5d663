#pragma once

class QWidget;

namespace ondavia {

// What the main window needs of the register form it hosts: the form itself, shown as its child
// window, and the public operations its commands call. The register form implements it; the main
// window never depends on the register's code.
class Registro {
public:
    virtual ~Registro() = default;

    virtual QWidget* form() = 0;

    virtual void Lista() = 0;
    virtual void Conferma() = 0;
    virtual void Aggiungi() = 0;
    virtual void Elimina() = 0;
    virtual void Copia() = 0;
    virtual void CreaComunicazione() = 0;
    virtual void STAMPA() = 0;

    // Called before an action that puts something else over the subject on screen (a restore, closing the
    // program) or that reads the stored subjects (a backup). When the form holds changes not yet saved it asks
    // whether to save them; true when the action may go on (nothing to ask, saved, or not to be saved), false
    // when the operator stays or the save was refused. Changes not to be saved stay on screen until an action
    // puts something over them.
    virtual bool lasciaSoggetto() { return true; }
};

} // namespace ondavia
