#include "codes/noise.h"

NoiseSource& ProgramNoise() {
    static NoiseSource source;
    return source;
}
