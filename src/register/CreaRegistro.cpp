#include "CreaRegistro.h"

#include "F1OP.h"

#include "shell/F0.h"
#include "shell/FSezHelp.h"

namespace ondavia {

std::unique_ptr<Registro> creaRegistro(F0& finestra)
{
    auto registro = std::make_unique<F1OP>(&finestra);
    registro->mostraAiutoSezioni = [form = registro.get()] {
        FSezHelp aiuto(form);
        aiuto.exec();
    };
    return registro;
}

} // namespace ondavia
