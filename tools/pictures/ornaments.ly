\version "2.24.0"
\include "fonts.ily"

% Margin decorations of the menu book: a short phrase on a staff and a few
% loose notes, each in a book of its own so they can be placed separately.
\paper {
  paper-width = 80\mm
  paper-height = 30\mm
  top-margin = 2\mm
  bottom-margin = 2\mm
  left-margin = 2\mm
  right-margin = 2\mm
  ragged-right = ##t
}

\book {
  \bookOutputSuffix "staff"
  \score {
    \new Staff \with { \omit TimeSignature } \relative c'' {
      \clef treble \cadenzaOn
      g8[ a] b[ c] d4 c8[ b] a2 \bar "||"
    }
    \layout { \context { \Score \omit BarNumber } }
  }
}

\book {
  \bookOutputSuffix "notes"
  \score {
    \new Staff \with {
      \omit StaffSymbol \omit Clef \omit TimeSignature \omit BarLine
    } {
      \cadenzaOn \stemUp
      g'8[ b'] d''4 c''8[ a'] e''4
    }
    \layout { \context { \Score \omit BarNumber } }
  }
}
