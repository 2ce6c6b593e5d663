#include "CForm.h"

#include <QWidget>

namespace ondavia {

void CForm::SetVbForm(QWidget* form)
{
    if (!form) {
        return;
    }
    for (QWidget* controllo : form->findChildren<QWidget*>()) {
        if (!CControl::eCasellaDiTesto(controllo) || m_controlli.count(controllo->objectName()) > 0) {
            continue;
        }
        auto involucro = std::make_unique<CControl>();
        involucro->SetVbControl(controllo);
        m_controlli.emplace(controllo->objectName(), std::move(involucro));
    }
}

CControl* CForm::item(const QString& nome) const
{
    const auto trovato = m_controlli.find(nome);
    return trovato == m_controlli.end() ? nullptr : trovato->second.get();
}

} // namespace ondavia
