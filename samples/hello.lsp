; Loaded by the LOAD_ item of the sample menu list.
(princ "\nHello from Orvane.")
(princ)
