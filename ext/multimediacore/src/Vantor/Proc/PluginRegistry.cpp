#include "Vantor/Proc/PluginRegistry.h"

#include "Vantor/Core/Interfaces/Throw.h"

#include <dlfcn.h>

#include <algorithm>
#include <iterator>

namespace Vantor {
namespace Proc {

namespace {

struct ModuleCloser
{
    void operator()(void* handle) const noexcept { ::dlclose(handle); }
};

using ModuleHandle = std::unique_ptr<void, ModuleCloser>;

std::string LastLoaderError()
{
    const char* text = ::dlerror();
    return text ? text : "unknown error";
}

ModuleHandle OpenModule(const ioPath& modulePath)
{
    ModuleHandle module(::dlopen(modulePath.utf8string().c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!module)
        VANTOR_THROW(Vantor::Exception,
                     << ErrorDescription("Cannot load plug-in module " + modulePath.utf8string() + ": " +
                                         LastLoaderError())
                     << ErrorFilename(modulePath.utf8string()));
    return module;
}

RegistratorFunction FindRegistrator(void* module, const ioPath& modulePath)
{
    void* symbol = ::dlsym(module, kRegistratorSymbol);
    if (!symbol)
        VANTOR_THROW(Vantor::Exception,
                     << ErrorDescription("Plug-in module " + modulePath.utf8string() + " has no Registrator")
                     << ErrorFilename(modulePath.utf8string()));
    return reinterpret_cast<RegistratorFunction>(symbol);
}

} // namespace

// Modules unload in the reverse order of loading, so a module never outlives one it was loaded after.
struct PluginRegistry::Modules
{
    std::vector<ModuleHandle> handles;

    ~Modules()
    {
        while (!handles.empty())
            handles.pop_back();
    }
};

PluginRegistry::PluginRegistry() : m_modules(std::make_unique<Modules>()) {}

PluginRegistry::~PluginRegistry() = default;

// The module is kept before its Registrator runs: what it registers, even when it then throws,
// must be released before the module's code goes away.
void PluginRegistry::LoadModule(const ioPath& modulePath)
{
    ModuleHandle module = OpenModule(modulePath);
    const RegistratorFunction registrator = FindRegistrator(module.get(), modulePath);
    m_modules->handles.push_back(std::move(module));
    registrator(this);
}

void PluginRegistry::RegisterParserCreator(const SP<IParserCreator>& creator)
{
    if (creator)
        m_parserCreators.push_back(creator);
}

void PluginRegistry::RegisterCDReaderCreator(CDReaderCreator creator)
{
    m_cdReaderCreator = creator;
}

std::vector<SP<IParserCreator>> PluginRegistry::GetParserCreators(const std::string& formatName) const
{
    std::vector<SP<IParserCreator>> found;
    std::copy_if(
        m_parserCreators.begin(), m_parserCreators.end(), std::back_inserter(found),
        [&formatName](const SP<IParserCreator>& creator) { return creator->GetFormatName() == formatName; });
    return found;
}

const std::vector<SP<IParserCreator>>& PluginRegistry::GetAllParserCreators() const noexcept
{
    return m_parserCreators;
}

CDReaderCreator PluginRegistry::GetCDReaderCreator() const noexcept
{
    return m_cdReaderCreator;
}

SP<ICDReader> PluginRegistry::CreateCDReader(const ioPath& path) const
{
    if (!m_cdReaderCreator)
        VANTOR_THROW(Vantor::Exception, << ErrorDescription("No CD reader creator is registered"));
    return m_cdReaderCreator(path);
}

} // namespace Proc
} // namespace Vantor
