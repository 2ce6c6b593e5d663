#pragma once

#include "shell/Registro.h"

#include <memory>

namespace ondavia {

class F0;

// The register form as the main window hosts it, with the section help behind its button.
std::unique_ptr<Registro> creaRegistro(F0& finestra);

} // namespace ondavia
