\version "2.24.0"
\include "fonts.ily"

\header {
  title = \markup \override #'(font-name . "Comic Neue Bold") \fontsize #4 \with-color "darkred" "Ta  Ti-Ti"
  subtitle = \markup \fontsize #-0.5 "Rhythmus sprechen und klatschen"
}

rhythm = {
  \time 4/4
  \autoLineBreaksOff
  \stemUp
  c'4 c' c'8 c' c' c' | c'4 r c'2 | \break
  c'8 c' c'4 c'8 c' c'4 | c'4 r c'8 c' r4 | \break
  c'2 c'8 c' c'4 | c'1 \bar "|."
}

syllables = \lyricmode {
  ta4 ta ti8 -- ti ti -- ti | ta4 sch ta-a2 |
  ti8 -- ti ta4 ti8 -- ti ta4 | ta4 sch ti8 -- ti sch4 |
  ta-a2 ti8 -- ti ta4 | ta-a-a-a1
}

\score {
  <<
    \new Staff \with {
      \override StaffSymbol.thickness = #1.2
    } { \clef percussion \new Voice = "r" \rhythm }
    % Timed syllables rather than \lyricsto, so rests get their "sch" too.
    \new Lyrics \with {
      \override LyricText.font-size = #0.5
      \override LyricText.self-alignment-X = #CENTER
      \override VerticalAxisGroup.nonstaff-relatedstaff-spacing.padding = #1.5
    } \syllables
  >>
  \layout {
    \context {
      \Score
      \omit BarNumber
    }
  }
}
