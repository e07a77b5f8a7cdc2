// GDAL's error handler, pushed for the lifetime of one GdalErrors.
#include "geo/GdalErrors.h"

#include <cpl_error.h>

namespace velkor {
namespace {

void CPL_STDCALL keep(CPLErr errorClass, CPLErrorNum, const char* text) {
    auto* self = static_cast<GdalErrors*>(CPLGetErrorHandlerUserData());
    if (self != nullptr) {
        self->record(errorClass >= CE_Failure, text != nullptr ? text : "");
    }
}

}  // namespace

GdalErrors::GdalErrors() {
    CPLPushErrorHandlerEx(keep, this);
}

GdalErrors::~GdalErrors() {
    CPLPopErrorHandler();
}

void GdalErrors::record(bool failure, const std::string& message) {
    if (failure) {
        failed_ = true;
        failure_ = message;
    } else {
        warning_ = message;
    }
}

}  // namespace velkor
