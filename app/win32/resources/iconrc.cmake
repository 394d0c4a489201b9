# Writes the resource lines of the program's icon from the PNG files in
# ICON_DIR: one RT_ICON per PNG (Windows reads PNG-compressed icon images as
# they are) and the RT_GROUP_ICON directory that lists them, smallest first.
# Run as: cmake -DICON_DIR=<dir> -DGROUP_ID=<id> -DOUTPUT=<file.rc> -P iconrc.cmake
cmake_minimum_required(VERSION 3.25)

# Samples per pixel by PNG colour type: grey, -, RGB, palette, grey+alpha, -, RGBA.
set(channels_by_colour_type 1 0 3 1 2 0 4)

function(read_be value_var file offset length)
  file(READ ${file} hex OFFSET ${offset} LIMIT ${length} HEX)
  math(EXPR value "0x${hex}")
  set(${value_var} ${value} PARENT_SCOPE)
endfunction()

file(GLOB pngs ${ICON_DIR}/*.png)
if(NOT pngs)
  message(FATAL_ERROR "No icon images in ${ICON_DIR}")
endif()

set(images "")
foreach(png IN LISTS pngs)
  file(READ ${png} header LIMIT 16 HEX)
  if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452")
    message(FATAL_ERROR "${png} is not a PNG image")
  endif()
  read_be(width ${png} 16 4)
  read_be(height ${png} 20 4)
  read_be(bit_depth ${png} 24 1)
  read_be(colour_type ${png} 25 1)
  if(width GREATER 256 OR height GREATER 256 OR colour_type GREATER 6)
    message(FATAL_ERROR "${png} cannot be an icon image (${width}x${height}, colour type ${colour_type})")
  endif()
  list(GET channels_by_colour_type ${colour_type} channels)
  math(EXPR bit_count "${bit_depth} * ${channels}")
  file(SIZE ${png} size)
  # Zero-padded width first, so that a plain sort orders by size.
  string(LENGTH "00000${width}" digits)
  math(EXPR cut "${digits} - 5")
  string(SUBSTRING "00000${width}" ${cut} 5 key)
  list(APPEND images "${key}|${width}|${height}|${bit_count}|${size}|${png}")
endforeach()
list(SORT images)

list(LENGTH images count)
set(icon_lines "")
set(group_lines "  0, 1, ${count}")
set(id 0)
foreach(image IN LISTS images)
  math(EXPR id "${id} + 1")
  string(REPLACE "|" ";" fields "${image}")
  list(GET fields 1 width)
  list(GET fields 2 height)
  list(GET fields 3 bit_count)
  list(GET fields 4 size)
  list(GET fields 5 png)
  string(APPEND icon_lines "${id} 3 \"${png}\"\n")
  # A directory entry: width and height in a byte each (0 means 256), no
  # palette, one plane, bits per pixel, bytes in the image, its RT_ICON id.
  math(EXPR size_word "((${height} % 256) << 8) | (${width} % 256)" OUTPUT_FORMAT HEXADECIMAL)
  string(APPEND group_lines ",\n  ${size_word}, 0, 1, ${bit_count}, ${size}L, ${id}")
endforeach()

file(WRITE ${OUTPUT}.tmp "${icon_lines}${GROUP_ID} 14\nBEGIN\n${group_lines}\nEND\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
