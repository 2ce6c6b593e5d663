#include "Dichiarazioni.h"

namespace ondavia {

void resetDichiarazioni()
{
    RsCope.Close();
    rsAppoggio.Close();
    rsComuni.Close();
    rsComuniCF.Close();
    Conn.Close();
    ComuniCaricati = false;

    for (QString* text : {&StrConn, &FileIni, &SQL, &TipoDb, &DebugAttivo, &AnaDimColAuto, &OggiTesto, &CifreData,
                          &DataFormattata, &DataCalendario, &DataSalvataggio, &FormAttiva, &CodiceCorrente,
                          &NomeCorrente, &NomeFileScelto, &ModoSalva, &Separatore, &VersioneProgramma, &Release}) {
        text->clear();
    }
    Oggi = QDate();
    NumFile = 0;
    SalvaTutti = false;
    ColoreFuoco = ColoreBianco = ColoreVerde = ColoreRosso = 0;
    Ind = IndCampo = 0;
}

} // namespace ondavia
