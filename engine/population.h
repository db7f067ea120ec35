// The whole state of the model: the urn, both genotype tables, the allele
// counts and the two arrays of the turnover. Every table is 1-based and every
// access is checked against its declared bounds.
#pragma once

#include "error.h"

#include <array>
#include <cstdint>

namespace bocavo {

using Cell = std::int16_t;

inline constexpr int kAlleles = 4;    // allele numbers 1..4
inline constexpr int kIndividus = 20; // individuals per generation
inline constexpr int kCopies = 2;     // allele copies per individual
inline constexpr int kBallsPerAllele = 10;
inline constexpr int kAlleleCopies = kIndividus * kCopies; // 40 balls, 40 copies

// A 1-based vector of 16-bit cells, indices 1..N.
template <int N> class Vector {
public:
    explicit constexpr Vector(const char* name) : name_(name) {}

    Cell& operator()(int i) { return cells_[slot(i)]; }
    Cell operator()(int i) const { return cells_[slot(i)]; }
    static constexpr int size() { return N; }

private:
    std::size_t slot(int i) const {
        if (i < 1 || i > N)
            throwIndexError(name_, i, 1, N);
        return static_cast<std::size_t>(i - 1);
    }

    const char* name_;
    std::array<Cell, N> cells_{};
};

// A 1-based table of 16-bit cells, rows 1..Rows by columns 1..Cols.
template <int Rows, int Cols> class Table {
public:
    explicit constexpr Table(const char* name) : name_(name) {}

    Cell& operator()(int row, int col) { return cells_[slot(row, col)]; }
    Cell operator()(int row, int col) const { return cells_[slot(row, col)]; }
    static constexpr int rows() { return Rows; }
    static constexpr int cols() { return Cols; }

    bool operator==(const Table& other) const { return cells_ == other.cells_; }

private:
    std::size_t slot(int row, int col) const {
        if (row < 1 || row > Rows)
            throwIndexError(name_, row, 1, Rows);
        if (col < 1 || col > Cols)
            throwIndexError(name_, col, 1, Cols);
        return static_cast<std::size_t>((row - 1) * Cols + (col - 1));
    }

    const char* name_;
    std::array<Cell, Rows * Cols> cells_{};
};

using Genotypes = Table<kIndividus, kCopies>;

// Created with every cell at zero; only the engine procedures write it.
struct Population {
    Vector<kAlleles> Urne{"Urne"};
    Genotypes Geno_Parent{"Geno_Parent"};
    Genotypes Geno_Enfant{"Geno_Enfant"};
    Vector<kAlleles> Nb_Allele{"Nb_Allele"};
    Vector<kIndividus> Identite{"Identite"};
    Vector<kIndividus> Perm{"Perm"};
};

} // namespace bocavo
