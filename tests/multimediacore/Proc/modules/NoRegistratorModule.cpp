// A loadable module that exports something, but no Registrator.
extern "C" __attribute__((visibility("default"))) int NotARegistrator()
{
    return 0;
}
