// Where the plug-in's handles of the disc-access library are made and owned: opening a device and
// reading its table of contents throw instead of returning result codes. The plug-in queries the
// TOC and reads sectors through the C API on these handles; disc addresses become media time here.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/Types.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <cueify/cueify.h>

#include <memory>
#include <string>

// An open device, freed (and so closed) with its last owner. Throws Vantor::Exception when the
// path is empty or the device cannot be created or opened.
VANTOR_API std::shared_ptr<cueify_device> OpenDevice(const Vantor::ioPath& path);

// The device's full table of contents; empty when the owner holds no device. Throws
// Vantor::Exception when the TOC cannot be created or read.
VANTOR_API std::shared_ptr<cueify_full_toc> ReadToc(const std::shared_ptr<cueify_device>& device);

// Whole minutes and seconds of an address or length, in microseconds; the frames are dropped.
VANTOR_API Vantor::avTime Msf2Sec(const cueify_msf_t& msf) noexcept;

// An English sentence for a cueify result code.
VANTOR_API std::string CueifyError2String(int error);
