// libFuzzer entry point for the RTF engine. Any input: the reader must not
// crash, the fast plain-text path (whole, and in pieces) must agree with the
// reader, and whatever was read must survive writing and reading again.

#include "core/CodePage.h"
#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const rtf::Document doc = rtf::ReadRtf(rtf);
    if (doc.paragraphs.empty()) {
        std::abort();
    }
    const std::u16string body = CodePage::toUtf16(rtf);
    if (rtf::IsRtfBody(body)) {
        const std::u16string text = rtf::BodyToPlainText(body);
        if (text != rtf::DocumentPlainText(doc)) {
            std::abort();
        }
        std::u16string pieces;
        rtf::RtfBytesToPlainText(rtf, [&pieces](std::u16string_view piece) { pieces += piece; });
        if (pieces != text) {
            std::abort();
        }
    }
    if (rtf::ReadRtf(rtf::WriteRtf(doc)) != doc) {
        std::abort();
    }
    return 0;
}
