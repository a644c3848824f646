// Keeps a library of a tier that has no files of its own yet.
