#include "Rating.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kelvane::sim {
namespace {

// Natural-log strengths become Elo points with this factor.
const double EloPerUnit = 400.0 / std::log(10.0);
constexpr double Z95 = 1.96;
constexpr int MaxIterations = 200;

double Logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }
// log(Logistic(x)), without overflow for large |x|.
double LogLogistic(double x) { return x >= 0 ? -std::log1p(std::exp(-x)) : x - std::log1p(std::exp(x)); }

using Matrix = std::vector<std::vector<double>>;

// Cholesky factor L (lower) of a symmetric positive definite matrix, in place.
void Cholesky(Matrix& a) {
    const size_t n = a.size();
    for (size_t j = 0; j < n; ++j) {
        double d = a[j][j];
        for (size_t k = 0; k < j; ++k) d -= a[j][k] * a[j][k];
        a[j][j] = std::sqrt(d);
        for (size_t i = j + 1; i < n; ++i) {
            double s = a[i][j];
            for (size_t k = 0; k < j; ++k) s -= a[i][k] * a[j][k];
            a[i][j] = s / a[j][j];
        }
    }
}

// Solves L L^T x = b.
std::vector<double> CholeskySolve(const Matrix& l, std::vector<double> b) {
    const size_t n = l.size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t k = 0; k < i; ++k) b[i] -= l[i][k] * b[k];
        b[i] /= l[i][i];
    }
    for (size_t i = n; i-- > 0;) {
        for (size_t k = i + 1; k < n; ++k) b[i] -= l[k][i] * b[k];
        b[i] /= l[i][i];
    }
    return b;
}

struct Model {
    int Types = 0;
    Matrix Games;  // games between i and j
    Matrix Score;  // points of i against j: a win 1, a draw 1/2

    double LogLikelihood(const std::vector<double>& theta) const {
        double sum = 0;
        for (int i = 0; i < Types; ++i) {
            sum += 0.5 * LogLogistic(theta[i]) + 0.5 * LogLogistic(-theta[i]);
            for (int j = 0; j < Types; ++j)
                if (i != j && Score[i][j] > 0) sum += Score[i][j] * LogLogistic(theta[i] - theta[j]);
        }
        return sum;
    }

    // The log-likelihood's gradient and the negated curvature (positive definite, as
    // the virtual draws add to every diagonal element).
    void Derivatives(const std::vector<double>& theta, std::vector<double>& gradient, Matrix& curvature) const {
        gradient.assign(Types, 0.0);
        curvature.assign(Types, std::vector<double>(Types, 0.0));
        for (int i = 0; i < Types; ++i) {
            const double p0 = Logistic(theta[i]);
            gradient[i] += 0.5 - p0;
            curvature[i][i] += p0 * (1.0 - p0);
            for (int j = 0; j < Types; ++j) {
                if (i == j || Games[i][j] == 0) continue;
                const double p = Logistic(theta[i] - theta[j]);
                gradient[i] += Score[i][j] - Games[i][j] * p;
                const double w = Games[i][j] * p * (1.0 - p);
                curvature[i][i] += w;
                curvature[i][j] -= w;
            }
        }
    }
};

}  // namespace

std::vector<Rating> RateTypes(int typeCount, const std::vector<PairResults>& results) {
    Model model;
    model.Types = typeCount;
    model.Games.assign(typeCount, std::vector<double>(typeCount, 0.0));
    model.Score = model.Games;
    for (const PairResults& pair : results) {
        if (pair.First < 0 || pair.First >= typeCount || pair.Second < 0 || pair.Second >= typeCount ||
            pair.First == pair.Second)
            throw std::invalid_argument("results name a type outside the rated ones");
        const int games = pair.FirstWins + pair.SecondWins + pair.Draws;
        model.Games[pair.First][pair.Second] += games;
        model.Games[pair.Second][pair.First] += games;
        model.Score[pair.First][pair.Second] += pair.FirstWins + 0.5 * pair.Draws;
        model.Score[pair.Second][pair.First] += pair.SecondWins + 0.5 * pair.Draws;
    }

    // The log-likelihood is concave with one maximum; Newton's steps climb to it, each
    // halved until it does not go downhill (lopsided results overshoot at first).
    std::vector<double> theta(typeCount, 0.0), gradient;
    Matrix curvature;
    double likelihood = model.LogLikelihood(theta);
    for (int iteration = 0; iteration < MaxIterations; ++iteration) {
        model.Derivatives(theta, gradient, curvature);
        Cholesky(curvature);
        const std::vector<double> step = CholeskySolve(curvature, gradient);
        double largest = 0;
        for (double s : step) largest = std::max(largest, std::fabs(s));
        if (largest < 1e-10) break;
        std::vector<double> next(typeCount);
        bool climbed = false;
        for (double scale = 1.0; scale > 1e-6 && !climbed; scale /= 2) {
            for (int i = 0; i < typeCount; ++i) next[i] = theta[i] + scale * step[i];
            const double nextLikelihood = model.LogLikelihood(next);
            if (nextLikelihood >= likelihood) {
                likelihood = nextLikelihood;
                theta = next;
                climbed = true;
            }
        }
        if (!climbed) break;  // at the top within rounding
    }

    // Ratings are told against the field's average, which the results pin down far better
    // than the scale's anchor: the uncertainty of type i is that of theta_i - mean(theta),
    // e' C e with C the inverse curvature and e = unit_i - 1/n.
    model.Derivatives(theta, gradient, curvature);
    Cholesky(curvature);
    Matrix covariance(typeCount);
    for (int i = 0; i < typeCount; ++i) {
        std::vector<double> unit(typeCount, 0.0);
        unit[i] = 1.0;
        covariance[i] = CholeskySolve(curvature, unit);
    }
    double mean = 0, columnMeans = 0;
    std::vector<double> rowMeans(typeCount, 0.0);
    for (int i = 0; i < typeCount; ++i) {
        mean += theta[i] / typeCount;
        for (int j = 0; j < typeCount; ++j) rowMeans[i] += covariance[i][j] / typeCount;
        columnMeans += rowMeans[i] / typeCount;
    }
    std::vector<Rating> ratings(typeCount);
    for (int i = 0; i < typeCount; ++i) {
        const double variance = covariance[i][i] - 2 * rowMeans[i] + columnMeans;
        ratings[i].Value = BaseRating + EloPerUnit * (theta[i] - mean);
        ratings[i].Uncertainty = Z95 * EloPerUnit * std::sqrt(std::max(variance, 0.0));
    }
    return ratings;
}

}  // namespace kelvane::sim
