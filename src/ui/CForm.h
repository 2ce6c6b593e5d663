#pragma once

#include "CControl.h"

#include <QString>

#include <map>
#include <memory>

class QWidget;

namespace ondavia {

// Wraps every text box of a form in a CControl, kept under the box's object name for as long as the
// CForm lives. Destroying it unwraps the boxes; they keep their last colours and texts.
class CForm {
public:
    CForm() = default;
    ~CForm() = default;
    CForm(const CForm&) = delete;
    CForm& operator=(const CForm&) = delete;

    // Wraps the form's text boxes in the form's control order. A box whose name is already in the
    // collection (a second box of the same name, or a second call) stays as it is.
    void SetVbForm(QWidget* form);

    int count() const { return static_cast<int>(m_controlli.size()); }
    // The wrapper of the box called `nome`, or nullptr.
    CControl* item(const QString& nome) const;

private:
    std::map<QString, std::unique_ptr<CControl>> m_controlli;
};

} // namespace ondavia
