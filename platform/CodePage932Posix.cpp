#include "platform/CodePage932.h"
#include "platform/Iconv.h"

namespace tarvelo {

namespace {

Converter& Of(void* handle) {
    return *static_cast<Converter*>(handle);
}

}  // namespace

CodePage932::CodePage932(Direction direction)
    : direction_(direction),
      handle_(direction == Direction::FromUtf8 ? new Converter("CP932", "UTF-8")
                                               : new Converter("UTF-8", "CP932")) {}

CodePage932::~CodePage932() {
    delete &Of(handle_);
}

bool CodePage932::Convert(std::string_view& in, std::string& out) {
    return Of(handle_).Convert(in, out);
}

}  // namespace tarvelo
