#pragma once

#include <QString>

namespace ondavia {

// Web sites and e-mail addresses are settings of the installation: keys of section [opzioni] of
// configurazione.ini, read each time they are used.
inline constexpr const char* ChiaveHostAgenzia = "Host_Agenzia";       // default: the agency's public site
inline constexpr const char* ChiaveHostProduttore = "Host_Produttore"; // default: none
inline constexpr const char* ChiaveMailCommerciale = "Mail_Commerciale";
inline constexpr const char* ChiaveMailAssistenza = "Mail_Assistenza";

inline constexpr const char* SitoAgenziaPredefinito = "https://www.agenziaentrate.gov.it";

// The agency's site as configured, else its public site; the maker's site as configured, else empty.
// A host given without a scheme gets "https://"; a trailing "/" is dropped.
QString sitoAgenzia();
QString sitoProduttore();

// The address of a page: site, path (beginning with "/") and, when there is one, "?" and the query.
QString indirizzoWeb(const QString& sito, const QString& percorso, const QString& query = {});

// An e-mail address as configured under `chiave`, blanks dropped; empty when not configured.
QString indirizzoMail(const char* chiave);

// The configuration file as the messages name it: "configurazione.ini, nella cartella del programma" and,
// once the launch has set FileIni, ":" and its full path on a line of its own.
QString fileConfigurazione();

// Tells the user plainly that `cosa` is not configured and which key configures it.
void segnalaNonImpostato(const QString& cosa, const char* chiave);

// Opens a page of the agency's site in the browser; a page that cannot be opened is reported.
void apriPaginaAgenzia(const QString& percorso, const QString& query = {});
// The same on the maker's site; when that site is not configured the user is told so and nothing opens.
void apriPaginaProduttore(const QString& percorso, const QString& query = {});

// Opens a document of the program's Help folder in the system's viewer. A document that is not there,
// or that no program opens, is reported with its full path.
void apriDocumentoAiuto(const QString& nomeFile);

} // namespace ondavia
