#include "editor/rtf/RtfReader.h"

#include "editor/rtf/RtfParser.h"

namespace rtf {

Document ReadRtf(std::string_view rtf) {
    RtfParser parser(RtfParser::Mode::Full);
    parser.parse(rtf);
    return parser.takeDocument();
}

} // namespace rtf
