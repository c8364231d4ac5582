#include "core/TemplateRecord.h"

const std::u16string& TemplateRecord::caption(int position) const {
    static const std::u16string empty;
    if (position < 0 || position >= kFieldCount)
        return empty;
    return captions[static_cast<size_t>(position)];
}
