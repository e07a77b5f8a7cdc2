// Datasets and features that the tests open through GDAL to read a file back, closed
// however the test ends, and what they ask of a vector file's layer.
#pragma once

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <memory>
#include <string>

namespace velkor {

struct CloseDataset {
    void operator()(void* h) const { GDALClose(static_cast<GDALDatasetH>(h)); }
};
using Dataset = std::unique_ptr<void, CloseDataset>;

struct DestroyFeature {
    void operator()(void* h) const { OGR_F_Destroy(static_cast<OGRFeatureH>(h)); }
};
using Feature = std::unique_ptr<void, DestroyFeature>;

inline Dataset openVector(const std::string& path) {
    return Dataset(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
}

// The dataset's first layer; null where it has none.
inline OGRLayerH firstLayer(const Dataset& ds) {
    return GDALDatasetGetLayer(static_cast<GDALDatasetH>(ds.get()), 0);
}

// The authority's code of the layer's coordinate system ("32632"); "" where it has none.
inline std::string systemCodeOf(OGRLayerH layer) {
    OGRSpatialReferenceH srs = OGR_L_GetSpatialRef(layer);
    const char* code = srs != nullptr ? OSRGetAuthorityCode(srs, nullptr) : nullptr;
    return code != nullptr ? code : "";
}

}  // namespace velkor
