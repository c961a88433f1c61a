#include "AccurateRipReply.h"

#include "AccurateRipVerdict.h"
#include "HttpGet.h"

#include <fstream>
#include <iterator>

namespace vantorcd {
namespace {

constexpr long kHttpOk = 200;
constexpr long kHttpNotFound = 404;

bool isUrl(const std::string& source)
{
    return source.rfind("http://", 0) == 0 || source.rfind("https://", 0) == 0;
}

std::vector<uint8_t> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

AccurateRipReply parsed(const std::string& source, const std::vector<uint8_t>& bytes,
                        const AccurateRipId& disc)
{
    AccurateRipReply reply;
    try {
        const std::vector<DbarResponse> all = parseDbarReply(bytes.data(), bytes.size());
        reply.responses = responsesFor(all, disc);
        reply.received = true;
        reply.note = std::to_string(all.size()) + " responses from " + source;
        if (reply.responses.empty())
            reply.note =
                "the AccurateRip reply from " + source + " is for another disc (" + disc.fileName() + ")";
    } catch (const MalformedReply& error) {
        reply.note = "the AccurateRip reply from " + source + " is malformed: " + error.what();
    }
    return reply;
}

AccurateRipReply fetched(const std::string& url, const AccurateRipId& disc)
{
    const HttpReply http = httpGet(url);
    if (http.status == kHttpNotFound) {
        AccurateRipReply reply;
        reply.received = true;
        reply.note = "the disc is not in AccurateRip's database (" + url + " answered 404)";
        return reply;
    }
    if (http.status != kHttpOk)
        throw std::runtime_error(url + " answered HTTP " + std::to_string(http.status));
    return parsed(url, http.body, disc);
}

} // namespace

AccurateRipReply loadAccurateRipReply(const std::string& source, const AccurateRipId& disc)
{
    try {
        return isUrl(source) ? fetched(source, disc) : parsed(source, fileBytes(source), disc);
    } catch (const std::exception& error) {
        AccurateRipReply reply;
        reply.note = std::string("cannot get the AccurateRip reply: ") + error.what();
        return reply;
    }
}

std::string verdictOf(const AccurateRipReply& reply, unsigned discTrack, uint32_t v1, uint32_t v2)
{
    return reply.received ? accurateRipVerdict(reply.responses, discTrack, v1, v2) : "not verified";
}

} // namespace vantorcd
