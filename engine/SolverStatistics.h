// What one integration did: its steps, their lengths and how many of them the output points decided.
#pragma once

namespace tavlix {

struct SolverStatistics {
    long long attempts = 0;       // steps tried, accepted or not
    long long acceptedSteps = 0;  // the steps the curve is made of
    long long rejectedSteps = 0;  // tries that missed the tolerance and were halved
    double smallestStep = 0;      // of the accepted steps; 0 while there is none
    double largestStep = 0;
    long long rhsEvaluations = 0;  // evaluations of all the right-hand sides at one t
    // Accepted steps whose length the next output point (or the largest step, the output interval) decided,
    // without a rejection: the tolerance did not shorten them.
    long long stepsSetByOutput = 0;

    void addAcceptedStep(double h, bool setByOutput)
    {
        smallestStep = acceptedSteps == 0 || h < smallestStep ? h : smallestStep;
        largestStep = h > largestStep ? h : largestStep;
        ++acceptedSteps;
        stepsSetByOutput += setByOutput ? 1 : 0;
    }
};

}  // namespace tavlix
