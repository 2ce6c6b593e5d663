#pragma once

#include <QValidator>

namespace ondavia {

// Keeps line breaks, tabs and other control characters out of a text box, whether they come by paste, by
// drag and drop or from code: each run of them becomes one blank, and the caret keeps its place in what
// remains. Everything else is accepted as it stands.
class FiltroControlli : public QValidator {
public:
    explicit FiltroControlli(QObject* parent = nullptr) : QValidator(parent) {}

    State validate(QString& testo, int& posizione) const override;
};

} // namespace ondavia
