// The International Geomagnetic Reference Field, 14th generation: the Earth's main field
// at a place and a date, as a survey subtracts it.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class GeomagneticModel {
  public:
    static constexpr double kFirstYear = 1900.0;
    static constexpr double kLastYear = 2030.0;
    // Degree 13 from this epoch on, degree 10 before it.
    static constexpr double kFullDegreeFrom = 2000.0;
    static constexpr double kReferenceRadius = 6371.2;  // km

    struct Place {
        double latitude;   // degrees north, WGS84 geodetic
        double longitude;  // degrees east
        double height;     // m above the WGS84 ellipsoid
    };

    // North, east and down are geodetic, as a surveyor's level and compass see them.
    struct Field {
        double x;  // nT north
        double y;  // nT east
        double z;  // nT down
        double h;  // nT horizontal intensity
        double f;  // nT total intensity
        double d;  // degrees declination, east positive
        double i;  // degrees inclination, down positive
    };

    struct Result {
        bool ok;
        Field field;
        std::string message;  // what to show when not ok
    };

    // The field at a decimal year from 1900.0 to 2030.0; a place or date the model
    // does not cover gives a message instead.
    static Result compute(const Place& place, double year);

    // The model at one date, its coefficients worked out once: a survey asks it for
    // thousands of places of the same day. Gives what compute gives, bit for bit.
    class AtYear {
      public:
        explicit AtYear(double year);
        Result compute(const Place& place) const;

      private:
        double year_;
        int degree_;
        std::vector<double> g_;
        std::vector<double> h_;
    };
    // F to 0.1 nT: the value the "Geomagnetic Field" dialog and the tool take.
    static float roundedIntensity(const Field& field);
    // "X Y Z H F D I", nT to 0.1 and degrees to 0.01.
    static std::string describe(const Field& field);
};

}  // namespace velkor
