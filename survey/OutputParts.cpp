// The writers know their sidecars; this only maps the survey's formats onto theirs.
#include "survey/OutputParts.h"

#include "geo/RasterWriter.h"
#include "geo/VectorWriter.h"

namespace velkor {

std::vector<std::string> OutputParts::of(const std::string& out, SurveyExport::Format format) {
    using F = SurveyExport::Format;
    switch (format) {
        case F::GeoPackage:
            return VectorWriter::parts(out, VectorWriter::Format::GeoPackage);
        case F::Shapefile:
            return VectorWriter::parts(out, VectorWriter::Format::Shapefile);
        case F::Kml:
            return VectorWriter::parts(out, VectorWriter::Format::Kml);
        case F::Csv:
        case F::Xyz:
            break;
    }
    return {out};
}

std::vector<std::string> OutputParts::of(const std::string& out, GridFile::Format format) {
    return RasterWriter::parts(out, format);
}

std::vector<std::string> OutputParts::of(const std::string& out, ContourFile::Format format) {
    return VectorWriter::parts(out, format);
}

std::string OutputParts::ownedBy(const SurveySettings& settings,
                                 const std::vector<std::string>& files,
                                 const std::string& surveyPath) {
    for (const std::string& file : files) {
        if (settings.ownsFile(file, surveyPath)) {
            return file;
        }
    }
    return {};
}

}  // namespace velkor
