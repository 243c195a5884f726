\version "2.24.0"
\include "fonts.ily"

\paper { system-system-spacing.basic-distance = #24 markup-system-spacing.basic-distance = #14 }

\header {
  title = \markup \override #'(font-name . "Comic Neue Bold") \fontsize #4 \with-color "darkred" "Intervalle"
  subtitle = \markup \fontsize #-0.5 "erst nacheinander, dann zusammen"
}

step = #(define-music-function (n) (markup?)
          #{ ^\markup \with-color "darkred" \override #'(font-name . "Comic Neue Bold") \fontsize #1 \circle \pad-around #0.2 #n #})

melody = \relative c' {
  \omit Staff.TimeSignature
  \time 4/4
  \autoLineBreaksOff
  c4 c\step "1" <c c>2 | c4 d\step "2" <c d>2 | c4 e\step "3" <c e>2 | c4 f\step "4" <c f>2 | \break
  c4 g'\step "5" <c, g'>2 | c4 a'\step "6" <c, a'>2 | c4 b'\step "7" <c, b'>2 | c4 c'\step "8" <c, c'>2 \bar "|."
}

names = \lyricmode {
  "" "Prime" ""  "" "Sekunde" "" "" "Terz" "" "" "Quarte" ""
  "" "Quinte" "" "" "Sexte" "" "" "Septime" "" "" "Oktave" ""
}

\score {
  <<
    \new Staff \with { \override StaffSymbol.thickness = #1.2 } { \clef treble \new Voice = "m" \melody }
    \new Lyrics \with {
      \override LyricText.self-alignment-X = #CENTER
      \override LyricText.font-size = #0.5
      \override VerticalAxisGroup.nonstaff-relatedstaff-spacing.padding = #1.5
    } \lyricsto "m" \names
  >>
  \layout {
    \context {
      \Score
      \omit BarNumber
      \override SpacingSpanner.uniform-stretching = ##t
      \override TextScript.staff-padding = #2.5
    }
  }
}
