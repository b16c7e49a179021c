#ifndef COMPILERDETECTOR_H
#define COMPILERDETECTOR_H

#include "build/detectionparameters.h"

#include <QCoreApplication>
#include <QString>

class BuildConfig;
class Workbench;

// What detection found for one configuration. "Detected" means found and usable.
struct DetectionResult
{
    enum Status { Usable = 0, TooOld = 1 };

    QString directory; // absolute directory of the executable that passed
    bool found = false;
    int status = Usable;
    QString version; // the configuration's VERSION: the oldest one it supports

    bool detected() const { return found && status == Usable; }
};

// Finds a configuration's tool chain on this machine from the DETECT elements of its file:
// registry locations, the simulator's tools folder or a fixed path, checked for existence,
// age and, by running it once, its banner.
class CompilerDetector
{
    Q_DECLARE_TR_FUNCTIONS(CompilerDetector)

public:
    explicit CompilerDetector(Workbench *workbench);

    // Tries the DETECT elements in document order and stops at the first that succeeds;
    // the result is that of the last evaluation made.
    DetectionResult detect(const BuildConfig &config);
    // One DETECT, or one CHECK on top of its DETECT.
    DetectionResult evaluate(DetectionParameters parameters);

private:
    DetectionResult searchRegistry(const DetectionParameters &parameters, const QString &key, const QString &searchText,
                                   int depth, bool everyLevel, bool contentsMode);
    DetectionResult check(const DetectionParameters &parameters, const QString &candidate);

    Workbench *workbench;
};

#endif
