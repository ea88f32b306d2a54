## Plots the six sample files of a Brumaria run to a PNG picture, one panel per series: the
## side-step, rise and walk excesses (muestrasPosX.m, muestrasPosY.m, muestrasPosZ.m) on the
## left, the yaw, pitch and roll (muestrasGiroX.m, muestrasGiroY.m, muestrasGiroZ.m) on the
## right, each against the interpretation pass. Files left without their closing lines (a run
## that did not end normally) are plotted too.
##
##   octave-cli tools/plot-samples.m [FOLDER [PICTURE]]
##
## FOLDER holds the sample files (default: the current folder); PICTURE is the PNG written
## (default: FOLDER/muestras.png). octave-cli draws through gnuplot: on Debian,
## apt-get install octave brings it; with --no-install-recommends add gnuplot-nox and
## fonts-freefont-otf.

1;

function values = read_samples (file, name)
  if (! exist (file, "file"))
    error ("plot-samples: no %s (the program writes the sample files in its working folder)", file);
  endif
  contents = fileread (file);
  header = [name " =[0"];
  if (! strncmp (contents, header, numel (header)))
    error ("plot-samples: %s does not start with \"%s\"", file, header);
  endif
  ## The vector runs to the closing bracket; the leading 0 belongs to the header, not to the
  ## samples. A file cut short may end in the middle of a number: what reads is plotted.
  vector = contents(numel (header) + 1:end);
  closing = find (vector == "]", 1);
  if (! isempty (closing))
    vector = vector(1:closing - 1);
  endif
  values = sscanf (vector, ",%d");
  if (! isempty (closing) && numel (values) != numel (strfind (vector, ",")))
    error ("plot-samples: %s has something other than whole numbers in its vector", file);
  endif
endfunction

arguments = argv ();
folder = ".";
if (numel (arguments) >= 1)
  folder = arguments{1};
endif
picture = fullfile (folder, "muestras.png");
if (numel (arguments) >= 2)
  picture = arguments{2};
endif

## File, vector name, panel title; panels fill the 3 x 2 grid row by row.
series = {
  "muestrasPosX.m",  "movX",  "Pos X: side-step (- left, + right)";
  "muestrasGiroX.m", "giroX", "Giro X: yaw";
  "muestrasPosY.m",  "movY",  "Pos Y: height (- descend, + rise)";
  "muestrasGiroY.m", "giroY", "Giro Y: pitch";
  "muestrasPosZ.m",  "movZ",  "Pos Z: walk (- back, + forward)";
  "muestrasGiroZ.m", "giroZ", "Giro Z: roll (degrees)"};

if (isempty (graphics_toolkit ()))
  error ("plot-samples: Octave has no graphics toolkit to draw with; install gnuplot (Debian: apt-get install gnuplot-nox)");
endif
## octave-cli draws through gnuplot, whose own PNG terminal needs no Ghostscript.
device = "-dpng";
if (strcmp (graphics_toolkit (), "gnuplot"))
  warning ("off", "Octave:gnuplot-graphics");
  warning ("off", "print:nogs");
  device = "-dpngcairo";
endif
figure ("visible", "off", "position", [0 0 1000 750]);
for k = 1:rows (series)
  values = read_samples (fullfile (folder, series{k, 1}), series{k, 2});
  subplot (3, 2, k);
  if (isempty (values))
    text (0.5, 0, "no samples (no face was followed)", "horizontalalignment", "center");
    axis ([0 1 -1 1]);
  else
    plot (1:numel (values), values, "-");
    xlim ([1 max(2, numel (values))]);
  endif
  grid on;
  title (sprintf ("%s  (%s)", series{k, 3}, series{k, 1}), "interpreter", "none");
  if (k > 4)
    xlabel ("pass");
  endif
endfor
print (picture, device, "-r100");
printf ("wrote %s\n", picture);
