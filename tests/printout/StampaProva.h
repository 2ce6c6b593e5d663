#pragma once

// The print-out driven as the operator drives it: subjects stored in COPE, the register in the main window,
// command 704, dialogs and boxes answered by a scripted platform, the PDF writer's clock stopped.

#include "../register/RegistroProva.h"
#include "Verifiche.h"
#include "printout/SchedaSoggetto.h"
#include "shell/F0.h"

#include <QString>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ondavia::test {

class StampaProva : public RegistroProva {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every field of a natural person's row filled, first sending.
    static std::map<QString, QString> personaFisica();
    // Every field of a company's row filled, cancelled with its reason, accounts and incorporating company.
    static std::map<QString, QString> personaNonFisica();

    // Selects the subject in the register as a click in the grid does, then runs command 704.
    void stampa(const QString& codice, const QString& progressivo);
    // A path on the test's Desktop.
    QString desktop(const QString& nome) const;

    std::unique_ptr<F0> finestra;
};

} // namespace ondavia::test
