// Datasets and features that the tests open through GDAL to read a file back, closed
// however the test ends.
#pragma once

#include <gdal.h>
#include <ogr_api.h>

#include <memory>

namespace velkor {

struct CloseDataset {
    void operator()(void* h) const { GDALClose(static_cast<GDALDatasetH>(h)); }
};
using Dataset = std::unique_ptr<void, CloseDataset>;

struct DestroyFeature {
    void operator()(void* h) const { OGR_F_Destroy(static_cast<OGRFeatureH>(h)); }
};
using Feature = std::unique_ptr<void, DestroyFeature>;

}  // namespace velkor
