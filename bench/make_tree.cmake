# Writes the tree that the lookup benchmark catalogues: 10,000 small files in
# 100 folders. cmake -DTREE=<folder> -P make_tree.cmake
file(REMOVE_RECURSE "${TREE}")
foreach(folder RANGE 99)
  foreach(file RANGE 99)
    math(EXPR number "${folder} * 100 + ${file}")
    file(WRITE "${TREE}/folder${folder}/asset${number}.bin" "${number}")
  endforeach()
endforeach()
