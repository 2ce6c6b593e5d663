#pragma once

// A company with every field of the print-out's card filled, the longest values wrapped, cancelled with its
// reason, accounts and incorporating company: the row the print-out's tests and its benchmark store.

#include <QString>

#include <map>

namespace ondavia::test {

inline std::map<QString, QString> societaCompleta(const QString& progressivo)
{
    const QString ragione = QStringLiteral("CAFFÈ & CIOCCOLATO DELL'ADRIATICO SOCIETÀ COOPERATIVA A R.L. - FILIALE");
    return {
        {"OCOD", "01234567897"},
        {"ONPROG", progressivo},
        {"OSTP", "1"},
        {"ODES", ragione},
        {"oTIPOSOG", "02"},
        {"OTIPOSOGD", "02=BANCHE"},
        {"orag", ragione},
        {"OSCOM", "SAN BENEDETTO DEL TRONTO"},
        {"OSPRO", "AP"},
        {"OCOG", ""},
        {"ONOME", ""},
        {"OSEX", ""},
        {"oncom", ""},
        {"onpro", ""},
        {"ORECF", "RSSMRA70C05H501U"},
        {"ORECOG", "ROSSI"},
        {"ORENOME", "MARIO"},
        {"ORESEX", "M"},
        {"OREDTNAS", "05/03/1970"},
        {"oRENCOM", "ROMA"},
        {"oREnpro", "RM"},
        {"OREEMAIL", "mario.rossi@caffe-adriatico.it"},
        {"ORETEL", "+39 0735 123456"},
        {"OPEEMAIL", "amministrazione.generale.caffe-cioccolato-adriatico@legalmail.it"},
        {"OPEDATAI", "15/09/2019"},
        {"OPEDATAF", "30/06/2024"},
        {"OPEGESTORE", "PEC € SERVIZI S.R.L."},
        {"odtcanc", "30/06/2024"},
        {"OMC1", "0"},
        {"OMC2", "-1"},
        {"OMC3", "0"},
        {"OMOC1", "1"},
        {"OMOC2", "1"},
        {"OMOC3", "0"},
        {"OSICF", "09876543210"},
        {"OSIRAG", "VIA DELL'INDUSTRIA 12, SCALA B, PRESSO STUDIO ASSOCIATO"},
        {"OSICOM", "REGGIO NELL'EMILIA"},
        {"OSIPRO", "RE"},
        {"OITTCF", "VRDGPP75B02L219K"},
        {"oitt1", "-1"},
        {"oitt2", "0"},
        {"OTIPOCOM1", "0"},
        {"OTIPOCOM2", "-1"},
    };
}

} // namespace ondavia::test
