#pragma once
#include <QString>

namespace platform {

// The product's names, as captions, questions and the About box give them.
inline const QString PlayerTitle = QStringLiteral("Cantorix 3");
inline const QString EncoderTitle = QStringLiteral("Cantorix 3 Encoder");

}  // namespace platform
