#include "core/Iconv.h"

#include "core/Failure.h"

#include <cueify/error.h>

namespace cueify {

Iconv::Iconv(const char* to, const char* from) : m_descriptor(iconv_open(to, from))
{
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's own failure value
    if (m_descriptor == reinterpret_cast<iconv_t>(-1))
        throw Failure(CUEIFY_ERR_INTERNAL, std::string("no conversion from ") + from + " to " + to);
}

Iconv::~Iconv()
{
    iconv_close(m_descriptor);
}

std::optional<std::string> Iconv::convert(std::string_view input)
{
    // No character of the conversions used here grows to more than four bytes per input byte.
    std::string output(input.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
    if (iconv(m_descriptor, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace cueify
