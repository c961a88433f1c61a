#include "HttpGet.h"

#include <curl/curl.h>

#include <memory>
#include <stdexcept>

namespace vantorcd {
namespace {

// A dBAR reply holds a few hundred bytes a response; anything this large is not one.
constexpr size_t kMaxBody = 4 << 20;
constexpr long kConnectSeconds = 10;
constexpr long kTransferSeconds = 30;

struct EasyCleanup
{
    void operator()(CURL* handle) const noexcept { curl_easy_cleanup(handle); }
};
using Easy = std::unique_ptr<CURL, EasyCleanup>;

size_t appendBody(char* data, size_t size, size_t count, void* reply)
{
    auto& body = static_cast<HttpReply*>(reply)->body;
    const size_t bytes = size * count;
    if (body.size() + bytes > kMaxBody)
        return 0; // libcurl then ends the transfer with a write error
    body.insert(body.end(), data, data + bytes);
    return bytes;
}

Easy newEasy()
{
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    Easy handle(initialised == CURLE_OK ? curl_easy_init() : nullptr);
    if (!handle)
        throw std::runtime_error("cannot set up libcurl");
    return handle;
}

void setOptions(CURL* handle, const std::string& url, HttpReply& reply, char* errorText)
{
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, kTransferSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
}

} // namespace

HttpReply httpGet(const std::string& url)
{
    const Easy handle = newEasy();
    HttpReply reply;
    char errorText[CURL_ERROR_SIZE] = {};
    setOptions(handle.get(), url, reply, errorText);
    const CURLcode result = curl_easy_perform(handle.get());
    if (result != CURLE_OK)
        throw std::runtime_error(errorText[0] ? errorText : curl_easy_strerror(result));
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &reply.status);
    return reply;
}

} // namespace vantorcd
