#include "NoModal.h"

#include <QtGlobal>
#include <cstdio>

namespace platform::detail {

bool NoModal() {
    return qEnvironmentVariableIsSet("CANTORIX_NO_MODAL");
}

void RefuseModal(const char* what, const QString& title, const QString& text) {
    std::fprintf(stderr, "Unanswered %s while CANTORIX_NO_MODAL is set\n  title: %s\n  text: %s\n",
                 what, title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    std::fflush(stderr);
    qFatal("Unanswered %s \"%s\"", what, qPrintable(title));
}

}  // namespace platform::detail
