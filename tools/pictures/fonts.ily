% Text in the posters uses the game's own handwriting font; the music font is
% LilyPond's Emmentaler. Naming the directory keeps fontconfig from choosing
% whatever happens to be installed on the machine.
#(ly:font-config-add-directory "/usr/share/fonts/opentype/comic-neue/")

#(set-global-staff-size 19)

\paper {
  paper-width = 100\mm
  paper-height = 100\mm
  top-margin = 5\mm
  bottom-margin = 5\mm
  left-margin = 6\mm
  right-margin = 6\mm
  indent = 0
  print-page-number = ##f
  ragged-bottom = ##t
  ragged-last-bottom = ##t
  system-system-spacing.basic-distance = #16
  #(define fonts
     (set-global-fonts
      #:roman "Comic Neue"
      #:sans "Comic Neue"
      #:typewriter "Comic Neue"
      #:factor (/ staff-height pt 20)))
}

\header { tagline = ##f }
